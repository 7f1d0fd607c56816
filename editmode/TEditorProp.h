#pragma once
// An edit mode in memory. TEditorProp holds independent copies of the
// properties an editor control has; TEditorPropEx adds the application's
// switches and is what a mode's .em2 file stores.

#include <string>

#include "editor/TEditor.h"
#include "editor/TEditorCaret.h"
#include "editor/TEditorFont.h"
#include "editor/TEditorPaintOptions.h"
#include "editor/TEditorViewInfo.h"
#include "editor/TEditorWordList.h"
#include "editor/TEditorWrapOption.h"
#include "platform/FileSystem.h"

namespace kerv {

// Turns a system colour into its current red/green/blue value (0x00BBGGRR).
using TSystemColorResolver = TColor (*)(TColor color);
// The classic desktop values; the window layer may pass its palette's instead.
TColor DefaultSystemColorRgb(TColor color);

// Makes an entry look like plain text: the font's colour and style on background.
void SetPlainColors(TEditorColor& entry, const TEditorFont& font, TColor background);

class TEditorProp : public TNotifyPersistent {
 public:
  TEditorProp() = default;

  TColor Color() const { return color_; }
  void SetColor(TColor value) { SetAndNotify(color_, value); }
  TEditorCaret& Caret() { return caret_; }
  const TEditorCaret& Caret() const { return caret_; }
  TEditorFont& Font() { return font_; }
  const TEditorFont& Font() const { return font_; }
  TEditorLeftbar& Leftbar() { return leftbar_; }
  const TEditorLeftbar& Leftbar() const { return leftbar_; }
  TEditorMargin& Margin() { return margin_; }
  const TEditorMargin& Margin() const { return margin_; }
  TEditorMarks& Marks() { return marks_; }
  const TEditorMarks& Marks() const { return marks_; }
  // In the user's order: the order decides which emphasis wins.
  TEditorWordList& ReserveWordList() { return reserveWordList_; }
  const TEditorWordList& ReserveWordList() const { return reserveWordList_; }
  void SetReserveWordList(const TEditorWordList& value) { reserveWordList_ = value; }
  TEditorRuler& Ruler() { return ruler_; }
  const TEditorRuler& Ruler() const { return ruler_; }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value) { SetAndNotify(scrollBars_, value); }
  TEditorViewInfo& View() { return view_; }
  const TEditorViewInfo& View() const { return view_; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value) { SetAndNotify(wordWrap_, value); }
  TEditorWrapOption& WrapOption() { return wrapOption_; }
  const TEditorWrapOption& WrapOption() const { return wrapOption_; }

  // From a set: what both kinds of set share (from a TEditorPropEx into a
  // TEditorPropEx: everything). Copying never fails visibly: an error stops
  // the copy where it happened.
  virtual void Assign(const TEditorProp& source);
  // From an editor control: its own twelve values.
  void Assign(const TEditor& source);
  void AssignTo(TEditorProp& dest) const { dest.Assign(*this); }
  // To an editor control: the twelve values (a TEditorPropEx adds its switches).
  void AssignTo(TEditor& dest) const { AssignTo(dest, true); }
  // The same; without the wrap, the control keeps its word wrap and wrap
  // options (a pane that shows another pane's rows, whose wrap that pane sets).
  virtual void AssignTo(TEditor& dest, bool withWrap) const;

 protected:
  // The twelve values from a set or a control (both name them alike).
  template <typename Source>
  void AssignShared(const Source& source);
  // The twelve values, with words as the control's reserved words.
  void AssignBaseTo(TEditor& dest, const TEditorWordList& words, bool withWrap) const;

 private:

  TColor color_ = clWindow;
  TEditorCaret caret_;
  TEditorFont font_;
  TEditorLeftbar leftbar_;
  TEditorMargin margin_;
  TEditorMarks marks_;
  TEditorWordList reserveWordList_;
  TEditorRuler ruler_;
  TScrollStyle scrollBars_ = ssNone;
  TEditorViewInfo view_;
  bool wordWrap_ = false;
  TEditorWrapOption wrapOption_;
};

class TEditorPropEx : public TEditorProp {
 public:
  static constexpr int kMinSpaceIndentSize = 1;
  static constexpr int kMaxSpaceIndentSize = 20;

  TEditorPropEx() = default;

  const std::string& Author() const { return author_; }
  void SetAuthor(const std::string& value) { author_ = value; }
  const std::string& UserComment() const { return userComment_; }
  void SetUserComment(const std::string& value) { userComment_ = value; }
  bool UseDafaultFont() const { return useDafaultFont_; }
  void SetUseDafaultFont(bool value) { useDafaultFont_ = value; }
  bool ColorBrackets() const { return colorBrackets_; }
  void SetColorBrackets(bool value) { colorBrackets_ = value; }
  bool ColorReserve() const { return colorReserve_; }
  void SetColorReserve(bool value) { colorReserve_ = value; }
  bool ColorComment() const { return colorComment_; }
  void SetColorComment(bool value) { colorComment_ = value; }
  bool ColorStr() const { return colorStr_; }
  void SetColorStr(bool value) { colorStr_ = value; }
  bool ColorHex() const { return colorHex_; }
  void SetColorHex(bool value) { colorHex_ = value; }
  bool ColorSearchStr() const { return colorSearchStr_; }
  void SetColorSearchStr(bool value) { colorSearchStr_ = value; }
  bool ColorSimpleStress() const { return colorSimpleStress_; }
  void SetColorSimpleStress(bool value) { colorSimpleStress_ = value; }
  bool ShowTab() const { return showTab_; }
  void SetShowTab(bool value) { showTab_ = value; }
  bool ShowSpace() const { return showSpace_; }
  void SetShowSpace(bool value) { showSpace_ = value; }
  bool ShowDoubleSpace() const { return showDoubleSpace_; }
  void SetShowDoubleSpace(bool value) { showDoubleSpace_ = value; }
  TColor TabMarkColor() const { return tabMarkColor_; }
  void SetTabMarkColor(TColor value) { tabMarkColor_ = value; }
  bool AutoIME() const { return autoIME_; }
  void SetAutoIME(bool value) { autoIME_ = value; }
  bool AutoIndent() const { return autoIndent_; }
  void SetAutoIndent(bool value) { autoIndent_ = value; }
  bool DSIndent() const { return dsIndent_; }
  void SetDSIndent(bool value) { dsIndent_ = value; }
  // Kept in the set only; the file's BSUnIndent key is the caret's BackSpaceUnIndent.
  bool BSUnIndent() const { return bsUnIndent_; }
  void SetBSUnIndent(bool value) { bsUnIndent_ = value; }
  bool NoIndentEmptyLine() const { return noIndentEmptyLine_; }
  void SetNoIndentEmptyLine(bool value) { noIndentEmptyLine_ = value; }
  int SpaceIndentSize() const { return spaceIndentSize_; }
  // Limited to 1..20.
  void SetSpaceIndentSize(int value);
  bool BoxFreeCaret() const { return boxFreeCaret_; }
  void SetBoxFreeCaret(bool value) { boxFreeCaret_ = value; }
  const std::string& ReturnInsertStr() const { return returnInsertStr_; }
  void SetReturnInsertStr(const std::string& value) { returnInsertStr_ = value; }

  using TEditorProp::Assign;
  using TEditorProp::AssignTo;
  void Assign(const TEditorProp& source) override;
  // The twelve values, then the switches that decide what the control shows:
  // no reserved words or bracket pairs when their colouring is off, and plain
  // colours for comments, strings and numbers when theirs is.
  void AssignTo(TEditor& dest, bool withWrap) const override;

  // The settings of a new mode (and of the default mode without a file),
  // applied onto this set; what they do not name keeps its value.
  void ApplyFactorySettings();

  // Reads a definition file; false when the file is not one (nothing
  // changed). A file that cannot be read raises EFileError.
  bool LoadFromFile(IFileSystem& fs, const std::string& path);
  // Writes the set whole through a temporary file, so a failure (raised as
  // EFileError) leaves an existing file as it was.
  void SaveToFile(IFileSystem& fs, const std::string& path,
                  TSystemColorResolver resolve = &DefaultSystemColorRgb) const;

 private:
  void AssignExtension(const TEditorPropEx& source);

  std::string author_;
  std::string userComment_;
  bool useDafaultFont_ = true;
  bool colorBrackets_ = true;
  bool colorReserve_ = true;
  bool colorComment_ = true;
  bool colorStr_ = true;
  bool colorHex_ = true;
  bool colorSearchStr_ = true;
  bool colorSimpleStress_ = true;
  bool showTab_ = false;
  bool showSpace_ = false;
  bool showDoubleSpace_ = false;
  TColor tabMarkColor_ = clGray;
  bool autoIME_ = false;
  bool autoIndent_ = false;
  bool dsIndent_ = false;
  bool bsUnIndent_ = false;
  bool noIndentEmptyLine_ = true;
  int spaceIndentSize_ = 1;
  bool boxFreeCaret_ = false;
  std::string returnInsertStr_;
};

}  // namespace kerv
