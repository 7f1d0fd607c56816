#include "editmode/TEditorProp.h"

#include <algorithm>
#include <exception>

#include "document/TIniFile.h"
#include "editmode/TEditModeFile.h"

namespace kerv {
namespace {

// "ＭＳ ゴシック"
constexpr const char* kFactoryFontName = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
constexpr TColor kLightGray = 0xE0E0E0;
constexpr TColor kLightYellow = 0x80FFFF;

void SetColors(TEditorColor& entry, TColor color, TColor bkColor, TFontStyles style) {
  entry.Assign(TEditorColor(bkColor, color, style));
}

// Copying between sets and to or from a control never fails visibly: an
// error stops the copy where it happened and what was copied stays.
template <typename Copy>
void CopyQuietly(Copy copy) {
  try {
    copy();
  } catch (const std::exception&) {
  }
}

}  // namespace

void SetPlainColors(TEditorColor& entry, const TEditorFont& font, TColor background) {
  SetColors(entry, font.Color(), background, font.Style());
}

template <typename Source>
void TEditorProp::AssignShared(const Source& source) {
  SetColor(source.Color());
  caret_.Assign(source.Caret());
  font_.Assign(source.Font());
  leftbar_.Assign(source.Leftbar());
  margin_.Assign(source.Margin());
  marks_.Assign(source.Marks());
  reserveWordList_ = source.ReserveWordList();
  ruler_.Assign(source.Ruler());
  SetScrollBars(source.ScrollBars());
  view_.Assign(source.View());
  SetWordWrap(source.WordWrap());
  wrapOption_.Assign(source.WrapOption());
}

void TEditorProp::Assign(const TEditorProp& source) {
  if (&source != this) CopyQuietly([&] { AssignShared(source); });
}

void TEditorProp::Assign(const TEditor& source) {
  CopyQuietly([&] { AssignShared(source); });
}

void TEditorProp::AssignBaseTo(TEditor& dest, const TEditorWordList& words, bool withWrap) const {
  dest.SetColor(color_);
  dest.SetCaret(caret_);
  dest.SetFont(font_);
  dest.Leftbar().Assign(leftbar_);
  dest.Margin().Assign(margin_);
  dest.Marks().Assign(marks_);
  dest.SetReserveWordList(words);
  dest.Ruler().Assign(ruler_);
  dest.SetScrollBars(scrollBars_);
  dest.SetView(view_);
  if (!withWrap) return;
  dest.SetWordWrap(wordWrap_);
  dest.SetWrapOption(wrapOption_);
}

void TEditorProp::AssignTo(TEditor& dest, bool withWrap) const {
  CopyQuietly([&] { AssignBaseTo(dest, reserveWordList_, withWrap); });
}

void TEditorPropEx::SetSpaceIndentSize(int value) {
  spaceIndentSize_ = std::clamp(value, kMinSpaceIndentSize, kMaxSpaceIndentSize);
}

void TEditorPropEx::AssignExtension(const TEditorPropEx& source) {
  author_ = source.author_;
  userComment_ = source.userComment_;
  useDafaultFont_ = source.useDafaultFont_;
  colorBrackets_ = source.colorBrackets_;
  colorReserve_ = source.colorReserve_;
  colorComment_ = source.colorComment_;
  colorStr_ = source.colorStr_;
  colorHex_ = source.colorHex_;
  colorSearchStr_ = source.colorSearchStr_;
  colorSimpleStress_ = source.colorSimpleStress_;
  showTab_ = source.showTab_;
  showSpace_ = source.showSpace_;
  showDoubleSpace_ = source.showDoubleSpace_;
  tabMarkColor_ = source.tabMarkColor_;
  autoIME_ = source.autoIME_;
  autoIndent_ = source.autoIndent_;
  dsIndent_ = source.dsIndent_;
  bsUnIndent_ = source.bsUnIndent_;
  noIndentEmptyLine_ = source.noIndentEmptyLine_;
  spaceIndentSize_ = source.spaceIndentSize_;
  boxFreeCaret_ = source.boxFreeCaret_;
  returnInsertStr_ = source.returnInsertStr_;
}

void TEditorPropEx::Assign(const TEditorProp& source) {
  if (&source == this) return;
  CopyQuietly([&] {
    AssignShared(source);
    // The run-time kind of the source decides, so a set held by its base
    // still copies whole.
    if (const auto* extended = dynamic_cast<const TEditorPropEx*>(&source)) AssignExtension(*extended);
  });
}

void TEditorPropEx::AssignTo(TEditor& dest, bool withWrap) const {
  CopyQuietly([&] {
    AssignBaseTo(dest, colorReserve_ ? ReserveWordList() : TEditorWordList(), withWrap);
    if (!colorBrackets_) dest.View().Brackets().Clear();
    TEditorColors& colors = dest.View().Colors();
    if (!colorComment_) SetPlainColors(colors.Comment(), dest.Font(), Color());
    if (!colorStr_) SetPlainColors(colors.Str(), dest.Font(), Color());
    if (!colorHex_) SetPlainColors(colors.Int(), dest.Font(), Color());
    dest.SetReturnInsertStr(returnInsertStr_);
  });
}

void TEditorPropEx::ApplyFactorySettings() {
  TEditorFont& font = Font();
  font.SetName(kFactoryFontName);
  font.SetSize(12);
  useDafaultFont_ = true;
  author_.clear();
  userComment_.clear();
  returnInsertStr_.clear();
  View().SetHexPrefix("");
  View().SetCommenter("");

  autoIME_ = false;
  Caret().SetFreeCaret(false);
  Caret().SetSoftTab(false);
  dsIndent_ = false;
  showSpace_ = false;
  SetWordWrap(false);
  Leftbar().SetZeroBase(false);
  Leftbar().SetZeroLead(false);
  Marks().EofMark().SetVisible(false);

  boxFreeCaret_ = true;
  autoIndent_ = true;
  Caret().SetNextLine(true);
  noIndentEmptyLine_ = true;
  Ruler().SetVisible(true);
  Leftbar().SetVisible(true);
  Leftbar().SetShowNumber(true);
  showDoubleSpace_ = true;
  showTab_ = true;
  Marks().Underline().SetVisible(true);
  Marks().RetMark().SetVisible(true);
  View().SetMail(true);
  View().SetUrl(true);

  Caret().SetTabSpaceCount(4);
  spaceIndentSize_ = 2;
  Margin().SetLeft(2);
  Margin().SetTop(2);
  SetScrollBars(ssBoth);
  Ruler().SetBkColor(clBtnFace);
  Ruler().SetColor(clBlack);
  Leftbar().SetBkColor(clBtnFace);
  Leftbar().SetColor(clBlack);
  Leftbar().SetShowNumberMode(nmLine);
  tabMarkColor_ = kLightGray;
  Marks().Underline().SetColor(kLightGray);
  Marks().RetMark().SetColor(kLightGray);
  Marks().EofMark().SetColor(kLightGray);

  TEditorColors& colors = View().Colors();
  TNotifyUpdateBatch batch(colors);
  SetColors(colors.Mail(), clBlue, clWhite, fsUnderline);
  SetColors(colors.Url(), clBlue, clWhite, fsUnderline);
  colors.Select().SetColor(clHighlightText);
  colors.Select().SetBkColor(clHighlight);
  SetColors(colors.Reserve(), clGreen, clWhite, colors.Reserve().Style());
  // Levels 2-5 and, in bold, 6-10 cycle through the same colours.
  const TColor levelColors[] = {clNavy, clMaroon, clBlue, clRed};
  TEditorColor* lowLevels[] = {&colors.Stress2(), &colors.Stress3(), &colors.Stress4(), &colors.Stress5()};
  for (int i = 0; i < 4; ++i) lowLevels[i]->SetColor(levelColors[i]);
  const TColor highColors[] = {clGreen, clNavy, clMaroon, clBlue, clRed};
  TEditorColor* highLevels[] = {&colors.Stress6(), &colors.Stress7(), &colors.Stress8(), &colors.Stress9(),
                                &colors.Stress10()};
  for (int i = 0; i < 5; ++i) {
    highLevels[i]->SetColor(highColors[i]);
    highLevels[i]->SetStyle(fsBold);
  }
  SetColors(colors.FindStr(), clBlack, kLightYellow, fsBold);
  colors.StressTmp().SetStyle(fsBold);

  TEditorWrapOption& wrap = WrapOption();
  wrap.SetWrapByte(80);
  wrap.SetWordBreak(true);
  wrap.SetLeading(true);
  wrap.SetFollowPunctuation(true);
  wrap.SetFollowRetMark(true);
  wrap.SetFollowStr(TEditorWrapOption::kDefaultFollowStr);
  wrap.SetLeadStr(TEditorWrapOption::kDefaultLeadStr);
  wrap.SetPunctuationStr(TEditorWrapOption::kDefaultPunctuationStr);

  View().Brackets().Clear();
  ReserveWordList().clear();
}

bool TEditorPropEx::LoadFromFile(IFileSystem& fs, const std::string& path) {
  return TEditModeFile::Read(TIniFile::ReadSettingsFile(fs, path), *this);
}

void TEditorPropEx::SaveToFile(IFileSystem& fs, const std::string& path, TSystemColorResolver resolve) const {
  fs.WriteFile(path, TEditModeFile::Write(*this, resolve));
}

}  // namespace kerv
