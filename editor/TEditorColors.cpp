#include "editor/TEditorColors.h"

namespace kerv {

void TEditorColor::Assign(const TEditorColor& source) {
  if (&source == this) return;
  TNotifyUpdateBatch batch(*this);
  bkColor_ = source.bkColor_;
  color_ = source.color_;
  style_ = source.style_;
}

TEditorColors::TEditorColors() {
  entries_[ceSelect].SetBkColor(clNavy);
  entries_[ceSelect].SetColor(clWhite);
  // Connected after the defaults are set, so construction notifies nobody.
  for (TEditorColor& entry : entries_) {
    entry.SetOnChange([this](TNotifyPersistent* sender) {
      if (sender != this) Changed();
    });
  }
}

void TEditorColors::Assign(const TEditorColors& source) {
  if (&source == this) return;
  TNotifyUpdateBatch batch(*this);
  for (int i = 0; i < ceCount; ++i) entries_[i].Assign(source.entries_[i]);
}

template <typename Setter>
void TEditorColors::ForTokenEntries(Setter setter) {
  static constexpr TEditorColorEntry kTokenEntries[] = {ceAnk, ceComment, ceDBCS, ceInt,    ceMail,
                                                        ceStr, ceSymbol,  ceReserve, ceUrl};
  TNotifyUpdateBatch batch(*this);
  for (TEditorColorEntry entry : kTokenEntries) setter(entries_[entry]);
}

void TEditorColors::SetAllBkColor(TColor value) {
  ForTokenEntries([value](TEditorColor& entry) { entry.SetBkColor(value); });
}

void TEditorColors::SetAllColor(TColor value) {
  ForTokenEntries([value](TEditorColor& entry) { entry.SetColor(value); });
}

void TEditorColors::SetAllStyle(TFontStyles value) {
  ForTokenEntries([value](TEditorColor& entry) { entry.SetStyle(value); });
}

}  // namespace kerv
