#include "editor/TEditorPaintOptions.h"

namespace kerv {

void TEditorMargin::Assign(const TEditorMargin& source) {
  if (&source == this) return;
  character_ = source.character_;
  left_ = source.left_;
  line_ = source.line_;
  top_ = source.top_;
  Changed();
}

void TEditorMark::Assign(const TEditorMark& source) {
  if (&source == this) return;
  color_ = source.color_;
  visible_ = source.visible_;
  Changed();
}

TEditorMarks::TEditorMarks() {
  // A change of one mark is a change of the marks for the owner.
  for (TEditorMark* mark : {&eofMark_, &retMark_, &underline_}) {
    mark->SetOnChange([this](TNotifyPersistent*) { Changed(); });
  }
}

void TEditorMarks::Assign(const TEditorMarks& source) {
  if (&source == this) return;
  TNotifyUpdateBatch batch(*this);
  eofMark_.Assign(source.eofMark_);
  retMark_.Assign(source.retMark_);
  underline_.Assign(source.underline_);
}

void TEditorRuler::SetGaugeRange(int value) {
  if (value < 8) value = 8;
  if (value > 10) value = 10;
  SetAndNotify(gaugeRange_, value & ~1);
}

void TEditorRuler::Assign(const TEditorRuler& source) {
  if (&source == this) return;
  bkColor_ = source.bkColor_;
  color_ = source.color_;
  edge_ = source.edge_;
  gaugeRange_ = source.gaugeRange_;
  markColor_ = source.markColor_;
  visible_ = source.visible_;
  Changed();
}

void TEditorLeftbar::Assign(const TEditorLeftbar& source) {
  if (&source == this) return;
  bkColor_ = source.bkColor_;
  color_ = source.color_;
  column_ = source.column_;
  edge_ = source.edge_;
  leftMargin_ = source.leftMargin_;
  rightMargin_ = source.rightMargin_;
  showNumber_ = source.showNumber_;
  showNumberMode_ = source.showNumberMode_;
  visible_ = source.visible_;
  zeroBase_ = source.zeroBase_;
  zeroLead_ = source.zeroLead_;
  Changed();
}

}  // namespace kerv
