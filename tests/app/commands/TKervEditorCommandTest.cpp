#include "app/commands/TKervEditorCommand.h"

#include <gtest/gtest.h>

#include "tests/app/commands/TwoPanes.h"
#include "editmode/TEditorProp.h"
#include "editor/TEditor.h"
#include "platform/fake/FakeClipboard.h"
#include "tests/editor/control/FakeEditorWindow.h"

namespace kerv {
namespace {

using testing::TwoPanes;

void SetText(TEditor& editor, const std::string& text) {
  editor.SelectAll();
  editor.ReplaceSelText(text);
  editor.CancelSelection();
}

TEST(TKervEditorCommandTest, AddCopyAppendsAndAddCutDeletes) {
  TwoPanes panes;
  FakeClipboard clipboard;
  TKervEditorCommand command(panes, clipboard);
  SetText(panes.main, "abc def");
  clipboard.SetText("X", false);
  panes.main.SetSelStart(4);
  panes.main.SetSelLength(3);
  command.AddCopy();
  EXPECT_EQ(clipboard.Text().text, "Xdef");
  command.AddCut();
  EXPECT_EQ(clipboard.Text().text, "Xdefdef");
  EXPECT_EQ(panes.main.RowStore().GetText(), "abc ");
  // The other pane shows the same rows.
  EXPECT_EQ(panes.second.RowStore().GetText(), "abc ");
}

TEST(TKervEditorCommandTest, DeleteToEitherEndOfTheText) {
  TwoPanes panes;
  FakeClipboard clipboard;
  TKervEditorCommand command(panes, clipboard);
  SetText(panes.main, "one\r\ntwo\r\nthree");
  panes.main.MoveCaretTo(1, 1);
  command.DeleteToEnd();
  EXPECT_EQ(panes.main.RowStore().GetText(), "one\r\nt");
  command.DeleteToStart();
  EXPECT_EQ(panes.main.RowStore().GetText(), "");
  EXPECT_TRUE(panes.main.CanUndo());
}

TEST(TKervEditorCommandTest, LineNumbersFollowTheLeftBar) {
  TwoPanes panes;
  FakeClipboard clipboard;
  TKervEditorCommand command(panes, clipboard);
  SetText(panes.main, "a\r\nb\r\nc\r\n");
  TEditor& editor = panes.main;
  EXPECT_EQ(TKervEditorCommand::FirstLineNumber(editor), 1);
  // Three lines and the empty one after the last break.
  EXPECT_EQ(TKervEditorCommand::LastLineNumber(editor), 4);
  command.JumpToLine(3);
  EXPECT_EQ(editor.Row(), 2);
  EXPECT_EQ(TKervEditorCommand::CaretLine(editor), 3);
  EXPECT_EQ(TKervEditorCommand::ParseJumpAnswer(editor, "99"), 4);
  EXPECT_EQ(TKervEditorCommand::ParseJumpAnswer(editor, "-3"), 0);
  // Not a number: the caret's row index.
  EXPECT_EQ(TKervEditorCommand::ParseJumpAnswer(editor, "abc"), 2);
  editor.Leftbar().SetZeroBase(true);
  EXPECT_EQ(TKervEditorCommand::FirstLineNumber(editor), 0);
  EXPECT_EQ(TKervEditorCommand::CaretLine(editor), 2);
  command.JumpToLine(0);
  EXPECT_EQ(editor.Row(), 0);
}

TEST(TKervEditorCommandTest, BoxModeTakesTheModesBoxFreeCaretAndReadOnlyReachesBothPanes) {
  TwoPanes panes;
  FakeClipboard clipboard;
  TKervEditorCommand command(panes, clipboard);
  TEditorPropEx mode;
  mode.SetBoxFreeCaret(true);
  mode.Caret().SetFreeCaret(false);
  command.SetBoxMode(true, mode);
  EXPECT_EQ(panes.main.SelectionMode(), smBox);
  EXPECT_TRUE(panes.main.Caret().FreeCaret());
  command.SetBoxMode(false, mode);
  EXPECT_FALSE(panes.main.Caret().FreeCaret());
  command.SetReadOnly(true);
  EXPECT_TRUE(panes.main.ReadOnly());
  EXPECT_TRUE(panes.second.ReadOnly());
}

}  // namespace
}  // namespace kerv
