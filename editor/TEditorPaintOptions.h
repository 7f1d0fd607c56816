#pragma once
// The option objects of the editor's layout and marks: margins, the line-end,
// end-of-file and caret-row marks, the ruler and the left bar. Any change
// reaches the editor through the change event.

#include "editor/TEditorColors.h"
#include "editor/TNotifyPersistent.h"

namespace kerv {

// Pixel margins, each limited to 0..100.
class TEditorMargin : public TNotifyPersistent {
 public:
  static constexpr int kMax = 100;
  int Character() const { return character_; }
  int Left() const { return left_; }
  int Line() const { return line_; }
  int Top() const { return top_; }
  void SetCharacter(int value) { SetAndNotify(character_, Clamp(value)); }
  void SetLeft(int value) { SetAndNotify(left_, Clamp(value)); }
  void SetLine(int value) { SetAndNotify(line_, Clamp(value)); }
  void SetTop(int value) { SetAndNotify(top_, Clamp(value)); }
  void Assign(const TEditorMargin& source);

 private:
  static int Clamp(int value) { return value < 0 ? 0 : value > kMax ? kMax : value; }
  int character_ = 0;
  int left_ = 19;
  int line_ = 0;
  int top_ = 2;
};

class TEditorMark : public TNotifyPersistent {
 public:
  TColor Color() const { return color_; }
  bool Visible() const { return visible_; }
  void SetColor(TColor value) { SetAndNotify(color_, value); }
  void SetVisible(bool value) { SetAndNotify(visible_, value); }
  void Assign(const TEditorMark& source);

 private:
  TColor color_ = clGray;
  bool visible_ = false;
};

class TEditorMarks : public TNotifyPersistent {
 public:
  TEditorMarks();
  TEditorMark& EofMark() { return eofMark_; }
  const TEditorMark& EofMark() const { return eofMark_; }
  TEditorMark& RetMark() { return retMark_; }
  const TEditorMark& RetMark() const { return retMark_; }
  TEditorMark& Underline() { return underline_; }
  const TEditorMark& Underline() const { return underline_; }
  void Assign(const TEditorMarks& source);

 private:
  TEditorMark eofMark_;
  TEditorMark retMark_;
  TEditorMark underline_;
};

class TEditorRuler : public TNotifyPersistent {
 public:
  TColor BkColor() const { return bkColor_; }
  TColor Color() const { return color_; }
  bool Edge() const { return edge_; }
  int GaugeRange() const { return gaugeRange_; }
  TColor MarkColor() const { return markColor_; }
  bool Visible() const { return visible_; }
  void SetBkColor(TColor value) { SetAndNotify(bkColor_, value); }
  void SetColor(TColor value) { SetAndNotify(color_, value); }
  void SetEdge(bool value) { SetAndNotify(edge_, value); }
  // Limited to 8..10 and rounded down to an even number: 8 or 10.
  void SetGaugeRange(int value);
  void SetMarkColor(TColor value) { SetAndNotify(markColor_, value); }
  void SetVisible(bool value) { SetAndNotify(visible_, value); }
  void Assign(const TEditorRuler& source);

 private:
  TColor bkColor_ = clBtnFace;
  TColor color_ = clWindowText;
  bool edge_ = true;
  int gaugeRange_ = 10;
  TColor markColor_ = clWindowText;
  bool visible_ = false;
};

enum TEditorNumberMode { nmRow, nmLine };

class TEditorLeftbar : public TNotifyPersistent {
 public:
  TColor BkColor() const { return bkColor_; }
  TColor Color() const { return color_; }
  int Column() const { return column_; }
  bool Edge() const { return edge_; }
  int LeftMargin() const { return leftMargin_; }
  int RightMargin() const { return rightMargin_; }
  bool ShowNumber() const { return showNumber_; }
  TEditorNumberMode ShowNumberMode() const { return showNumberMode_; }
  bool Visible() const { return visible_; }
  bool ZeroBase() const { return zeroBase_; }
  bool ZeroLead() const { return zeroLead_; }
  void SetBkColor(TColor value) { SetAndNotify(bkColor_, value); }
  void SetColor(TColor value) { SetAndNotify(color_, value); }
  // The minimum number of digits, limited to 1..8.
  void SetColumn(int value) { SetAndNotify(column_, value < 1 ? 1 : value > 8 ? 8 : value); }
  void SetEdge(bool value) { SetAndNotify(edge_, value); }
  void SetLeftMargin(int value) { SetAndNotify(leftMargin_, value < 0 ? 0 : value); }
  void SetRightMargin(int value) { SetAndNotify(rightMargin_, value < 0 ? 0 : value); }
  void SetShowNumber(bool value) { SetAndNotify(showNumber_, value); }
  void SetShowNumberMode(TEditorNumberMode value) { SetAndNotify(showNumberMode_, value); }
  void SetVisible(bool value) { SetAndNotify(visible_, value); }
  void SetZeroBase(bool value) { SetAndNotify(zeroBase_, value); }
  void SetZeroLead(bool value) { SetAndNotify(zeroLead_, value); }
  void Assign(const TEditorLeftbar& source);

 private:
  TColor bkColor_ = clBtnFace;
  TColor color_ = clWindowText;
  int column_ = 4;
  bool edge_ = true;
  int leftMargin_ = 8;
  int rightMargin_ = 4;
  bool showNumber_ = true;
  TEditorNumberMode showNumberMode_ = nmRow;
  bool visible_ = false;
  bool zeroBase_ = false;
  bool zeroLead_ = false;
};

}  // namespace kerv
