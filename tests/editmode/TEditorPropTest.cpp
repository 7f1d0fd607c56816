#include "editmode/TEditorProp.h"

#include <gtest/gtest.h>

#include "editmode/TEditModeFile.h"

namespace kerv {
namespace {

// A set whose every value differs from a fresh one.
void Customise(TEditorPropEx& set) {
  set.SetColor(0x123456);
  set.Caret().SetTabSpaceCount(2);
  set.Font().SetName("Mono");
  set.Leftbar().SetColumn(7);
  set.Margin().SetLeft(9);
  set.Marks().EofMark().SetColor(0x111111);
  set.ReserveWordList() = {{"int", 3}};
  set.Ruler().SetGaugeRange(8);
  set.SetScrollBars(ssVertical);
  set.View().SetCommenter("#");
  set.View().Brackets().Add().SetLeftBracket("<");
  set.SetWordWrap(true);
  set.WrapOption().SetWrapByte(60);
  set.SetAuthor("me");
  set.SetColorBrackets(false);
  set.SetSpaceIndentSize(5);
  set.SetBSUnIndent(true);
  set.SetReturnInsertStr(";");
}

TEST(TEditorPropTest, AssignCopiesWhatTheRunTimeKindsShare) {
  TEditorPropEx source;
  Customise(source);

  TEditorPropEx whole;
  const TEditorProp& asBase = source;
  whole.Assign(asBase);  // held by its base, still an extended set: everything
  EXPECT_EQ(TEditModeFile::Write(whole), TEditModeFile::Write(source));
  EXPECT_EQ(whole.Margin().Left(), 9);
  EXPECT_TRUE(whole.BSUnIndent());

  TEditorProp base;
  source.AssignTo(base);
  EXPECT_EQ(base.Color(), 0x123456u);
  EXPECT_EQ(base.View().Commenter(), "#");

  TEditorPropEx fromBase;
  fromBase.Assign(base);  // a plain set gives only the twelve
  EXPECT_EQ(fromBase.Color(), 0x123456u);
  EXPECT_EQ(fromBase.ReserveWordList().size(), 1u);
  EXPECT_EQ(fromBase.Author(), "");
  EXPECT_TRUE(fromBase.ColorBrackets());
}

// What the factory settings write to a file is in golden/written_layout.em2;
// these are the values a file does not hold.
TEST(TEditorPropTest, FactorySettingsOutsideTheFile) {
  TEditorPropEx set;
  Customise(set);
  set.View().SetQuotation("'");
  set.Caret().SetNextLine(false);
  set.Leftbar().SetShowNumber(false);
  set.ApplyFactorySettings();
  EXPECT_EQ(set.Margin().Left(), 2);
  EXPECT_EQ(set.Margin().Top(), 2);
  EXPECT_TRUE(set.Caret().NextLine());
  EXPECT_TRUE(set.Leftbar().ShowNumber());
  EXPECT_TRUE(set.ReserveWordList().empty());
  EXPECT_EQ(set.View().Brackets().Count(), 0);
  EXPECT_EQ(set.View().Quotation(), "'");  // not named by the factory settings: kept
  EXPECT_TRUE(set.View().Colors().Select().SameValues(
      TEditorColor(clHighlight, clHighlightText, set.View().Colors().Select().Style())));
}

TEST(TEditorPropTest, AssignToAnEditorHonoursTheColourSwitches) {
  TEditorPropEx set;
  Customise(set);
  set.Font().SetColor(0x0000AA);
  set.View().Colors().Comment().SetColor(0x00FF00);
  set.View().Colors().Str().SetColor(0x00FF00);
  struct Case {
    const char* name;
    bool colorReserve, colorBrackets, colorComment;
  } cases[] = {{"all on", true, true, true}, {"all off", false, false, false}};
  for (const Case& c : cases) {
    set.SetColorReserve(c.colorReserve);
    set.SetColorBrackets(c.colorBrackets);
    set.SetColorComment(c.colorComment);
    TEditor editor;
    set.AssignTo(editor);
    EXPECT_EQ(editor.Color(), 0x123456u) << c.name;
    EXPECT_EQ(editor.Caret().TabSpaceCount(), 2) << c.name;
    EXPECT_EQ(editor.Margin().Left(), 9) << c.name;
    EXPECT_TRUE(editor.WordWrap()) << c.name;
    EXPECT_EQ(editor.WrapOption().WrapByte(), 60) << c.name;
    EXPECT_EQ(editor.ScrollBars(), ssVertical) << c.name;
    EXPECT_EQ(editor.ReturnInsertStr(), ";") << c.name;
    EXPECT_EQ(editor.ReserveWordList().size(), c.colorReserve ? 1u : 0u) << c.name;
    EXPECT_EQ(editor.View().Brackets().Count(), c.colorBrackets ? 1 : 0) << c.name;
    const TEditorColor& comment = editor.View().Colors().Comment();
    EXPECT_EQ(comment.Color(), c.colorComment ? 0x00FF00u : 0x0000AAu) << c.name;
    if (!c.colorComment) {
      EXPECT_EQ(comment.BkColor(), 0x123456u);
    }
    EXPECT_EQ(editor.View().Colors().Str().Color(), 0x00FF00u) << c.name;  // its switch stays on

    TEditorPropEx back;
    back.Assign(editor);
    EXPECT_EQ(back.Color(), 0x123456u) << c.name;
    EXPECT_EQ(back.WrapOption().WrapByte(), 60) << c.name;
    EXPECT_EQ(back.Author(), "") << c.name;  // an editor has no switches to give
  }
}

}  // namespace
}  // namespace kerv
