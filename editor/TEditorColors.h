#pragma once
// The colour entries of the view options: one TEditorColor per token kind
// and per emphasis level, collected in TEditorColors.

#include <array>
#include <cstdint>

#include "editor/TNotifyPersistent.h"

namespace kerv {

// 0x00BBGGRR; a value whose high byte is 0xFF names a system colour by the
// index in its low byte.
using TColor = uint32_t;
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clHighlight = 0xFF00000D;
constexpr TColor clHighlightText = 0xFF00000E;
// No colour at all: a mark in clNone takes the font's colour.
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x00000000;
constexpr TColor clMaroon = 0x00000080;
constexpr TColor clGreen = 0x00008000;
constexpr TColor clNavy = 0x00800000;
constexpr TColor clRed = 0x000000FF;
constexpr TColor clBlue = 0x00FF0000;
constexpr TColor clGray = 0x00808080;
constexpr TColor clWhite = 0x00FFFFFF;

constexpr bool IsSystemColor(TColor color) { return (color & 0xFF000000u) == 0xFF000000u; }

// A set of font styles, one bit each.
using TFontStyles = uint8_t;
constexpr TFontStyles fsBold = 0x01;
constexpr TFontStyles fsItalic = 0x02;
constexpr TFontStyles fsUnderline = 0x04;
constexpr TFontStyles fsStrikeOut = 0x08;

// Holds an option object's update batch open for a scope, so that a throwing
// step still ends the batch (and the owner still hears of what did change).
class TNotifyUpdateBatch {
 public:
  explicit TNotifyUpdateBatch(TNotifyPersistent& target) : target_(target) { target_.BeginUpdate(); }
  ~TNotifyUpdateBatch() { target_.EndUpdate(); }
  TNotifyUpdateBatch(const TNotifyUpdateBatch&) = delete;
  TNotifyUpdateBatch& operator=(const TNotifyUpdateBatch&) = delete;

 private:
  TNotifyPersistent& target_;
};

class TEditorColor : public TNotifyPersistent {
 public:
  TEditorColor() = default;
  TEditorColor(TColor bkColor, TColor color, TFontStyles style = 0) : bkColor_(bkColor), color_(color), style_(style) {}

  TColor BkColor() const { return bkColor_; }
  TColor Color() const { return color_; }
  TFontStyles Style() const { return style_; }
  void SetBkColor(TColor value) { SetAndNotify(bkColor_, value); }
  void SetColor(TColor value) { SetAndNotify(color_, value); }
  void SetStyle(TFontStyles value) { SetAndNotify(style_, value); }

  // Copies the three values and notifies once.
  void Assign(const TEditorColor& source);
  bool SameValues(const TEditorColor& other) const {
    return bkColor_ == other.bkColor_ && color_ == other.color_ && style_ == other.style_;
  }

 private:
  TColor bkColor_ = clWindow;
  TColor color_ = clWindowText;
  TFontStyles style_ = 0;
};

// The 21 entries in their published order; the index of an entry in Item().
enum TEditorColorEntry : int {
  ceAnk,
  ceComment,
  ceDBCS,
  ceInt,
  ceMail,
  ceReserve,
  ceSelect,
  ceStr,
  ceSymbol,
  ceUrl,
  ceStress2,
  ceStress3,
  ceStress4,
  ceStress5,
  ceStress6,
  ceStress7,
  ceStress8,
  ceStress9,
  ceStress10,
  ceFindStr,
  ceStressTmp,
  ceCount
};

class TEditorColors : public TNotifyPersistent {
 public:
  TEditorColors();

  TEditorColor& Item(TEditorColorEntry entry) { return entries_[entry]; }
  const TEditorColor& Item(TEditorColorEntry entry) const { return entries_[entry]; }

// Each entry reads as a reference; setting it assigns the values.
#define KERV_EDITOR_COLOR_ENTRY(Name)                                   \
  TEditorColor& Name() { return entries_[ce##Name]; }                   \
  const TEditorColor& Name() const { return entries_[ce##Name]; }       \
  void Set##Name(const TEditorColor& value) { entries_[ce##Name].Assign(value); }
  KERV_EDITOR_COLOR_ENTRY(Ank)
  KERV_EDITOR_COLOR_ENTRY(Comment)
  KERV_EDITOR_COLOR_ENTRY(DBCS)
  KERV_EDITOR_COLOR_ENTRY(Int)
  KERV_EDITOR_COLOR_ENTRY(Mail)
  KERV_EDITOR_COLOR_ENTRY(Reserve)
  KERV_EDITOR_COLOR_ENTRY(Select)
  KERV_EDITOR_COLOR_ENTRY(Str)
  KERV_EDITOR_COLOR_ENTRY(Symbol)
  KERV_EDITOR_COLOR_ENTRY(Url)
  KERV_EDITOR_COLOR_ENTRY(Stress2)
  KERV_EDITOR_COLOR_ENTRY(Stress3)
  KERV_EDITOR_COLOR_ENTRY(Stress4)
  KERV_EDITOR_COLOR_ENTRY(Stress5)
  KERV_EDITOR_COLOR_ENTRY(Stress6)
  KERV_EDITOR_COLOR_ENTRY(Stress7)
  KERV_EDITOR_COLOR_ENTRY(Stress8)
  KERV_EDITOR_COLOR_ENTRY(Stress9)
  KERV_EDITOR_COLOR_ENTRY(Stress10)
  KERV_EDITOR_COLOR_ENTRY(FindStr)
  KERV_EDITOR_COLOR_ENTRY(StressTmp)
#undef KERV_EDITOR_COLOR_ENTRY

  // Copies all 21 entries in one batch, so the owner is told once.
  void Assign(const TEditorColors& source);

  // These touch only the nine token entries (Ank, Comment, DBCS, Int, Mail,
  // Str, Symbol, Reserve, Url), in one batch.
  virtual void SetAllBkColor(TColor value);
  virtual void SetAllColor(TColor value);
  virtual void SetAllStyle(TFontStyles value);

 private:
  template <typename Setter>
  void ForTokenEntries(Setter setter);

  std::array<TEditorColor, ceCount> entries_;
};

}  // namespace kerv
