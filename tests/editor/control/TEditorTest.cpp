#include "editor/TEditor.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/editor/control/FakeEditorWindow.h"

namespace kerv {
namespace {

using testing::FakeEditorWindow;

// Shift_JIS bytes of the characters the cases use.
const std::string kA = "\x82\xa0";   // あ
const std::string kI = "\x82\xa2";   // い
const std::string kU = "\x82\xa4";   // う
const std::string kHyo = "\x95\x5c";  // 表 (trail byte 0x5C)
const std::string kWideSpace = "\x81\x40";

class TEditorTest : public ::testing::Test {
 protected:
  void SetText(const std::string& text) {
    editor_.Lines().SetTextStr(text);
    editor_.RowStore().UndoObj().Clear();
    editor_.SetRow(0);
    editor_.SetCol(0);
  }
  // Loads text exactly, final line break or not.
  void Load(const std::string& text) {
    TMemoryStream stream(text);
    editor_.Lines().LoadFromStream(stream);
    editor_.SetRow(0);
    editor_.SetCol(0);
  }
  std::string Text() { return editor_.RowStore().GetText(); }
  void Caret(int row, int col) {
    editor_.SetRow(row);
    editor_.SetCol(col);
  }

  FakeEditorWindow window_;
  TEditor editor_{&window_};
};

TEST_F(TEditorTest, OptionValuesAreClamped) {
  struct Case {
    int set;
    int tab;
  } tabs[] = {{3, 2}, {9, 8}, {1, 2}, {5, 4}, {8, 8}, {-4, 2}};
  for (const Case& c : tabs) {
    editor_.Caret().SetTabSpaceCount(c.set);
    EXPECT_EQ(editor_.Caret().TabSpaceCount(), c.tab) << c.set;
  }
  editor_.SetUndoListMax(10);
  EXPECT_EQ(editor_.UndoListMax(), 64);
  editor_.Ruler().SetGaugeRange(9);
  EXPECT_EQ(editor_.Ruler().GaugeRange(), 8);
  editor_.Ruler().SetGaugeRange(12);
  EXPECT_EQ(editor_.Ruler().GaugeRange(), 10);
  editor_.Leftbar().SetColumn(0);
  EXPECT_EQ(editor_.Leftbar().Column(), 1);
  editor_.Leftbar().SetColumn(12);
  EXPECT_EQ(editor_.Leftbar().Column(), 8);
  editor_.Margin().SetLeft(-3);
  editor_.Margin().SetTop(101);
  EXPECT_EQ(editor_.Margin().Left(), 0);
  EXPECT_EQ(editor_.Margin().Top(), 100);
}

TEST_F(TEditorTest, TabWidthFollowsTheCaretOption) {
  SetText("\tx");
  EXPECT_EQ(editor_.RowWidth(0), 9);
  editor_.Caret().SetTabSpaceCount(4);
  EXPECT_EQ(editor_.RowWidth(0), 5);
  EXPECT_EQ(editor_.RowDisplayText(0), "    x");
}

TEST_F(TEditorTest, VerticalMovesNeverLandOnATrailByte) {
  SetText("abcd\r\n" + kA + kI + kU + "\r\nabcd");
  Caret(0, 3);
  editor_.SetRow(1);
  EXPECT_EQ(editor_.Col(), 2);  // before い
  editor_.SetRow(2);
  EXPECT_EQ(editor_.Col(), 3);  // the remembered column comes back
  // Setting the column onto a trail byte moves with the direction.
  Caret(1, 0);
  editor_.SetCol(3);
  EXPECT_EQ(editor_.Col(), 4);
  editor_.SetCol(5);
  editor_.SetCol(3);
  EXPECT_EQ(editor_.Col(), 2);
}

TEST_F(TEditorTest, TextLengthCountsOnlyRealLineBreaks) {
  Load("ab\r\ncd");
  EXPECT_EQ(editor_.TextLength(), 6);
  Load("ab\r\ncd\r\n");
  EXPECT_EQ(editor_.TextLength(), 8);
  Load("");
  EXPECT_EQ(editor_.TextLength(), 0);
}

TEST_F(TEditorTest, TheRowAfterTheLastOnlyFollowsAFinalLineBreak) {
  Load("a\r\nb\r\n");
  editor_.SetRow(9);
  EXPECT_EQ(editor_.RowCount(), 2);
  EXPECT_EQ(editor_.Row(), 2);
  Load("a\r\nb");
  editor_.SetRow(9);
  EXPECT_EQ(editor_.Row(), 1);
}

TEST_F(TEditorTest, TypingPastTheRowEndFillsWithBlanks) {
  SetText("abc");
  Caret(0, 5);
  editor_.InsertText("x");
  EXPECT_EQ(Text(), "abc  x\r\n");
  EXPECT_EQ(editor_.Col(), 6);
}

TEST_F(TEditorTest, BackspaceUnindentsToThePreviousIndent) {
  SetText("  x\r\n    abc");
  Caret(1, 4);
  editor_.TypeBackspace();
  EXPECT_EQ(Text(), "  x\r\n  abc\r\n");
  EXPECT_EQ(editor_.Col(), 2);
  // Off, the same keystroke deletes one blank.
  SetText("  x\r\n    abc");
  editor_.Caret().SetBackSpaceUnIndent(false);
  Caret(1, 4);
  editor_.TypeBackspace();
  EXPECT_EQ(Text(), "  x\r\n   abc\r\n");
}

TEST_F(TEditorTest, BackspaceAndDeleteTakeWholeCharacters) {
  struct Case {
    const char* name;
    std::string text;
    int col;
    bool backspace;
    std::string expected;
    int caretCol;
  } cases[] = {
      {"backspace after a double-byte character", "a" + kHyo + "b", 3, true, "ab", 1},
      {"delete on a lead byte", "a" + kHyo + "b", 1, false, "ab", 1},
      {"backspace inside a tab's fillers", "a\tb", 4, true, "ab", 1},
      {"delete inside a tab's fillers", "a\tb", 4, false, "ab", 1},
      {"backspace past the row end moves only", "ab", 5, true, "ab", 4},
  };
  for (const Case& c : cases) {
    SetText(c.text);
    editor_.Caret().SetBackSpaceUnIndent(false);
    editor_.Caret().SetInTab(true);
    Caret(0, c.col);
    if (c.backspace) {
      editor_.TypeBackspace();
    } else {
      editor_.TypeDelete();
    }
    EXPECT_EQ(Text(), c.expected + "\r\n") << c.name;
    EXPECT_EQ(editor_.Col(), c.caretCol) << c.name;
  }
}

TEST_F(TEditorTest, BackspaceAndDeleteJoinLines) {
  SetText("ab\r\ncd");
  Caret(1, 0);
  editor_.TypeBackspace();
  EXPECT_EQ(Text(), "abcd\r\n");
  EXPECT_EQ(editor_.Row(), 0);
  EXPECT_EQ(editor_.Col(), 2);
  // Delete beyond the row end pads up to the caret first.
  SetText("ab\r\ncd");
  Caret(0, 4);
  editor_.TypeDelete();
  EXPECT_EQ(Text(), "ab  cd\r\n");
  Load("ab");
  Caret(0, 2);
  editor_.TypeDelete();
  EXPECT_EQ(Text(), "ab");
}

TEST_F(TEditorTest, ReturnIndentsLikeTheLineStart) {
  SetText("  abc");
  Caret(0, 5);
  editor_.TypeReturn();
  EXPECT_EQ(Text(), "  abc\r\n  \r\n");
  EXPECT_EQ(editor_.Row(), 1);
  EXPECT_EQ(editor_.Col(), 2);
  // Left of the indent, the caret's column is the indent.
  SetText("    abc");
  Caret(0, 1);
  editor_.TypeReturn();
  EXPECT_EQ(Text(), " \r\n    abc\r\n");
  // Tab indent: whole tabs, then blanks.
  SetText(std::string(10, ' ') + "x");
  editor_.Caret().SetTabIndent(true);
  Caret(0, 11);
  editor_.TypeReturn();
  EXPECT_EQ(Text(), std::string(10, ' ') + "x\r\n\t  \r\n");
  EXPECT_EQ(editor_.Col(), 10);
}

TEST_F(TEditorTest, ReturnAfterTheLastLineAddsALine) {
  Load("a\r\n");
  editor_.SetRow(1);
  editor_.TypeReturn();
  EXPECT_EQ(Text(), "a\r\n\r\n");
  EXPECT_EQ(editor_.Row(), 2);
  Load("ab");
  Caret(0, 2);
  editor_.TypeReturn();
  EXPECT_EQ(Text(), "ab\r\n");
  EXPECT_EQ(editor_.Row(), 1);
}

TEST_F(TEditorTest, TabTypesToTheNextStop) {
  SetText("ab");
  Caret(0, 2);
  editor_.Caret().SetSoftTab(true);
  editor_.KeyPress('\t');
  EXPECT_EQ(Text(), "ab      \r\n");
  EXPECT_EQ(editor_.Col(), 8);
  editor_.Caret().SetSoftTab(false);
  editor_.KeyPress('\t');
  EXPECT_EQ(Text(), "ab      \t\r\n");
  EXPECT_EQ(editor_.Col(), 16);
  editor_.KeyPress('\t', true);
  EXPECT_EQ(editor_.Col(), 16);
  editor_.SetOverWrite(true);
  editor_.SetCol(1);
  editor_.KeyPress('\t');
  EXPECT_EQ(editor_.Col(), 8);
  EXPECT_EQ(Text(), "ab      \t\r\n");
}

TEST_F(TEditorTest, OverwriteReplacesCellsAndNeverLeavesHalfACharacter) {
  struct Case {
    std::string text;
    int col;
    std::string typed;
    std::string expected;
  } cases[] = {
      {"abcd", 1, kA, "a" + kA + "d"},
      {kA + kI, 0, "x", "x " + kI},
      {kA + kI, 0, kU, kU + kI},
      {"ab", 1, "xyz", "axyz"},
  };
  for (const Case& c : cases) {
    SetText(c.text);
    editor_.SetOverWrite(true);
    Caret(0, c.col);
    editor_.InsertText(c.typed);
    EXPECT_EQ(Text(), c.expected + "\r\n") << c.expected;
    editor_.SetOverWrite(false);
  }
}

TEST_F(TEditorTest, SelectionOffsetsCountLineBreaksAsTwoBytes) {
  SetText("ab\r\ncd");
  editor_.SetSelStart(1);
  editor_.SetSelLength(4);
  EXPECT_EQ(editor_.SelText(), "b\r\nc");
  EXPECT_EQ(editor_.SelStart(), 1);
  EXPECT_EQ(editor_.SelLength(), 4);
  EXPECT_EQ(editor_.Row(), 1);
  EXPECT_EQ(editor_.Col(), 1);
  editor_.SelectAll();
  EXPECT_EQ(editor_.SelText(), "ab\r\ncd\r\n");
  EXPECT_EQ(editor_.TextLength(), 8);
  editor_.ReplaceSelText("x");
  EXPECT_EQ(Text(), "x");
}

TEST_F(TEditorTest, BoxSelectionCoversWholeCharactersAndEndsEveryLine) {
  SetText("abcdef\r\ng" + kA + "hij\r\nmn");
  editor_.SetSelectionMode(smBox);
  Caret(0, 2);
  editor_.StartSelection();
  editor_.SetRow(2);
  editor_.SetCol(4);
  editor_.ExtendSelection();
  // Row 1's あ is cut by the left column and counts as covered.
  EXPECT_EQ(editor_.SelText(), "cd\r\n" + kA + "h\r\n\r\n");
  EXPECT_EQ(editor_.SelLength(), 2 + 2 + 3 + 2 + 0 + 2);
  editor_.DeleteSelection();
  EXPECT_EQ(Text(), "abef\r\ngij\r\nmn\r\n");
  EXPECT_EQ(editor_.Row(), 0);
  EXPECT_EQ(editor_.Col(), 2);
}

TEST_F(TEditorTest, TypingOverABoxReplacesItInOneStep) {
  SetText("abc\r\ndef");
  editor_.SetSelectionMode(smBox);
  Caret(0, 1);
  editor_.StartSelection();
  editor_.SetRow(1);
  editor_.SetCol(2);
  editor_.ExtendSelection();
  editor_.InsertText("X");
  EXPECT_EQ(Text(), "aXc\r\ndf\r\n");
  editor_.Undo();
  EXPECT_EQ(Text(), "abc\r\ndef\r\n");
}

TEST_F(TEditorTest, ReadOnlyMakesEveryEditANoOp) {
  SetText("ab\r\ncd");
  editor_.InsertText("z");
  editor_.SetReadOnly(true);
  Caret(0, 1);
  editor_.StartSelection();
  editor_.SetCol(2);
  editor_.ExtendSelection();
  editor_.InsertText("x");
  editor_.ReplaceSelText("y");
  editor_.DeleteSelection();
  editor_.TypeReturn();
  editor_.TypeTab();
  editor_.TypeBackspace();
  editor_.TypeDelete();
  editor_.KeyPress('q');
  editor_.DeleteRow(0);
  editor_.Undo();
  editor_.ClearUndo();
  EXPECT_EQ(Text(), "zab\r\ncd\r\n");
  EXPECT_TRUE(editor_.CanUndo());
}

// A row store whose cutter can be made to fail, as a full memory would.
class FailingStore : public TEditorScreenStrings {
 public:
  bool fail = false;
  void StrToWrapList(std::string_view text, TEditorStringList& rows) override {
    if (fail) throw std::runtime_error("cut failed");
    TEditorScreenStrings::StrToWrapList(text, rows);
  }
};

TEST(TEditorFailureTest, HideAndShowStayPairedWhenAnEditFails) {
  FakeEditorWindow window;
  auto store = std::make_unique<FailingStore>();
  FailingStore* failing = store.get();
  TEditor editor(&window, std::move(store));
  editor.Marks().Underline().SetVisible(true);
  editor.Lines().SetTextStr("ab\r\ncd");
  editor.SetCol(1);
  failing->fail = true;
  EXPECT_THROW(editor.InsertText("x"), std::runtime_error);
  EXPECT_THROW(editor.ReplaceSelText("x\r\ny"), std::runtime_error);
  EXPECT_THROW(editor.TypeReturn(), std::runtime_error);
  EXPECT_EQ(editor.CaretHideCount(), 0);
  EXPECT_EQ(editor.UnderlineHideCount(), 0);
  failing->fail = false;
  editor.InsertText("x");
  EXPECT_EQ(editor.RowStore().GetText(), "axb\r\ncd\r\n");
  EXPECT_TRUE(window.caretVisible);
}

TEST_F(TEditorTest, ShiftArrowSelectsAndAPlainArrowCancels) {
  SetText("abc");
  editor_.KeyDown(vkRight, true, false, false);
  EXPECT_TRUE(editor_.Selected());
  EXPECT_EQ(editor_.SelText(), "a");
  editor_.KeyDown(vkRight, false, false, false);
  EXPECT_FALSE(editor_.Selected());
  EXPECT_EQ(editor_.Col(), 2);
}

TEST_F(TEditorTest, HomeEndAndCrossingRows) {
  Load("ab\r\ncde\r\n");
  Caret(0, 1);
  editor_.KeyDown(vkEnd, false, false, false);
  EXPECT_EQ(editor_.Col(), 2);
  editor_.KeyDown(vkEnd, false, true, false);
  EXPECT_EQ(editor_.Row(), 2);
  EXPECT_EQ(editor_.Col(), 0);
  editor_.KeyDown(vkHome, false, true, false);
  EXPECT_EQ(editor_.Row(), 0);
  // Left at a row start crosses only with NextLine (or from a wrapped row).
  editor_.SetRow(1);
  editor_.KeyDown(vkLeft, false, false, false);
  EXPECT_EQ(editor_.Row(), 1);
  editor_.Caret().SetNextLine(true);
  editor_.KeyDown(vkLeft, false, false, false);
  EXPECT_EQ(editor_.Row(), 0);
  EXPECT_EQ(editor_.Col(), 2);
}

TEST_F(TEditorTest, DownHeldAtTheBottomMovesTwoRows) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "line\r\n";
  SetText(text);
  int last = editor_.VisibleRows() - 1;
  editor_.SetRow(last);
  editor_.KeyDown(vkDown, false, false, true);
  EXPECT_EQ(editor_.Row(), last + 2);
  EXPECT_EQ(editor_.TopRow(), 2);
  editor_.KeyDown(vkDown, false, false, false);
  EXPECT_EQ(editor_.Row(), last + 3);
}

TEST_F(TEditorTest, ScrollingKeepsTheCaretInView) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += std::string(200, 'x') + "\r\n";
  SetText(text);
  int rows = editor_.VisibleRows();
  int cols = editor_.VisibleCols();
  editor_.SetRow(100);
  EXPECT_EQ(editor_.TopRow(), 100 - rows + 1);
  editor_.SetCol(cols + 5);
  EXPECT_EQ(editor_.TopCol(), std::max(cols + 5 - cols + 1, cols / 4));
  editor_.SetCol(0);
  EXPECT_EQ(editor_.TopCol(), 0);
  editor_.KeyDown(vkNext, false, false, false);
  EXPECT_EQ(editor_.TopRow(), 100 - rows + 1 + rows - 1);
  EXPECT_EQ(editor_.Row(), 100 + rows - 1);
  editor_.ScrollCaret();
  editor_.SetTopRow(100000);
  EXPECT_EQ(editor_.TopRow(), editor_.RowCount());
  editor_.SetTopCol(9999);
  EXPECT_EQ(editor_.TopCol(), kMaxGridCols - cols / 2);
  editor_.SetTopRow(0);
  editor_.KeyDown(vkPrior, false, false, false);
  EXPECT_EQ(editor_.Row(), 0);
}

TEST_F(TEditorTest, ScrollBarsGetThePartsRanges) {
  editor_.SetScrollBars(ssBoth);
  std::string text;
  for (int i = 0; i < 50; ++i) text += "x\r\n";
  SetText(text);
  int rows = editor_.VisibleRows();
  EXPECT_TRUE(window_.bars[sbVertical].visible);
  EXPECT_EQ(window_.bars[sbVertical].max, 50 + rows - 2);
  EXPECT_EQ(window_.bars[sbVertical].page, rows);
  EXPECT_EQ(window_.bars[sbHorizontal].max, 4000 + editor_.VisibleCols() / 2);
  editor_.ScrollBy(sbVertical, 1000);
  EXPECT_EQ(editor_.TopRow(), 49);  // the last row at the top
  editor_.Caret().SetLockScroll(true);
  editor_.SetTopRow(0);
  editor_.SetRow(3);
  editor_.ScrollBy(sbVertical, 5);
  EXPECT_EQ(editor_.Row(), 8);
}

TEST_F(TEditorTest, MetricsFollowTheOptions) {
  const TEditorMetrics& m = editor_.Metrics();
  EXPECT_EQ(m.charWidth, 8);
  EXPECT_EQ(m.textLeft, 19);
  EXPECT_EQ(m.textTop, 2);
  EXPECT_EQ(editor_.VisibleRows(), 25);
  EXPECT_EQ(editor_.VisibleCols(), 80);
  editor_.Marks().Underline().SetVisible(true);
  editor_.Ruler().SetVisible(true);
  editor_.Leftbar().SetVisible(true);
  EXPECT_EQ(m.rowHeight, 17);
  EXPECT_EQ(m.textTop, 12);
  EXPECT_EQ(m.leftbarWidth, 4 * 8 + 8 + 4 + 1);
  EXPECT_EQ(m.textLeft, 19 + 45);
  TRowCol cell = editor_.PosToRowCol(m.textLeft + 8 * 3 + 5, m.textTop + 17 * 2 + 1, true);
  EXPECT_EQ(cell.row, 2);
  EXPECT_EQ(cell.col, 4);
  cell = editor_.PosToRowCol(m.textLeft + 8 * 3 + 5, m.textTop, false);
  EXPECT_EQ(cell.col, 3);
}

TEST_F(TEditorTest, LeftbarDigitsGrowWithTheRows) {
  editor_.Leftbar().SetVisible(true);
  std::string text;
  for (int i = 0; i < 12345; ++i) text += "x\r\n";
  SetText(text);
  EXPECT_EQ(editor_.LeftbarDigits(), 5);
  EXPECT_EQ(editor_.Metrics().digits, 5);
}

TEST_F(TEditorTest, CaretShapeFollowsModeAndStyle) {
  SetText(kA + "b");
  editor_.FocusIn();
  EXPECT_EQ(window_.caretWidth, 2);
  EXPECT_EQ(window_.caretHeight, 16);
  editor_.SetOverWrite(true);
  EXPECT_EQ(window_.caretWidth, 16);  // a block over the double-byte character
  editor_.SetOverWrite(false);
  editor_.Caret().SetStyle(csBrief);
  EXPECT_EQ(window_.caretHeight, 2);
  EXPECT_EQ(window_.caretY, editor_.Metrics().textTop + 14);
  editor_.FocusOut();
  EXPECT_FALSE(window_.caretExists);
}

TEST_F(TEditorTest, EventsFire) {
  int changes = 0;
  int moves = 0;
  std::vector<bool> selections;
  editor_.OnChange = [&](TEditor&) { ++changes; };
  editor_.OnCaretMoved = [&](TEditor&) { ++moves; };
  editor_.OnSelectionChange = [&](TEditor&, bool selected) { selections.push_back(selected); };
  SetText("abc");
  changes = moves = 0;
  editor_.InsertText("x");
  EXPECT_EQ(changes, 1);
  EXPECT_GE(moves, 1);
  EXPECT_TRUE(editor_.Modified());
  editor_.KeyDown(vkRight, true, false, false);
  editor_.KeyDown(vkLeft, false, false, false);
  ASSERT_GE(selections.size(), 2u);
  EXPECT_TRUE(selections.front());
  EXPECT_FALSE(selections.back());
}

TEST_F(TEditorTest, TwoEditorsShareOneStore) {
  auto other = std::make_unique<TEditor>(&window_);
  SetText("abc");
  other->ShareRowStore(editor_);
  other->SetCol(3);
  other->InsertText("d");
  EXPECT_EQ(Text(), "abcd\r\n");
  EXPECT_EQ(editor_.RowStore().Views().size(), 2u);
  // The store outlives the first editor that leaves it.
  auto third = std::make_unique<TEditor>(&window_);
  third->ShareRowStore(*other);
  other.reset();
  third->SetCol(0);
  third->InsertText("z");
  EXPECT_EQ(Text(), "zabcd\r\n");
}

TEST_F(TEditorTest, WordWrapPlacesTheCaretAfterAWrappedRowOnTheNextRow) {
  editor_.WrapOption().SetWrapByte(20);
  editor_.SetWordWrap(true);
  SetText(std::string(30, 'a'));
  ASSERT_EQ(editor_.RowCount(), 2);
  Caret(0, 25);
  EXPECT_EQ(editor_.Col(), 19);
  editor_.SetCol(19);
  editor_.InsertText("b");
  EXPECT_EQ(editor_.Row(), 1);
  EXPECT_EQ(editor_.Col(), 0);
  EXPECT_EQ(editor_.RowToLine(1), 0);
}

TEST_F(TEditorTest, DeleteRowPutsTheCaretAtTheRowStart) {
  Load("a\r\nb\r\nc");
  editor_.DeleteRow(1);
  EXPECT_EQ(Text(), "a\r\nc");
  EXPECT_EQ(editor_.Row(), 1);
  EXPECT_EQ(editor_.Col(), 0);
  // The last row goes; the line before keeps its break.
  editor_.DeleteRow(1);
  EXPECT_EQ(Text(), "a\r\n");
  EXPECT_EQ(editor_.Row(), 1);
  Load("a\r\nb");
  editor_.DeleteRow(0);
  EXPECT_EQ(Text(), "b");
  EXPECT_EQ(editor_.Row(), 0);
}

TEST_F(TEditorTest, RowSelectionCoversWholeRows) {
  Load("ab\r\ncd\r\nef");
  editor_.SelectRows(0);
  EXPECT_EQ(editor_.SelText(), "ab\r\n");
  EXPECT_EQ(editor_.Row(), 0);
  editor_.ExtendRowSelection(2);
  EXPECT_EQ(editor_.SelText(), "ab\r\ncd\r\nef");
  editor_.EndRowSelection();
  editor_.SelectRows(2);
  EXPECT_EQ(editor_.SelText(), "ef");
  editor_.ExtendRowSelection(1);
  EXPECT_EQ(editor_.SelText(), "cd\r\nef");
}

TEST_F(TEditorTest, ReturnKeyGoesThroughTheKeyPressHandler) {
  SetText("ab");
  Caret(0, 1);
  editor_.OnKeyPress = [](TEditor& sender, char) -> char {
    sender.ReplaceSelText("\r\n");
    return 0;
  };
  editor_.KeyPress('\r');
  EXPECT_EQ(Text(), "a\r\nb\r\n");
  editor_.SetReturnInsertStr(";");
  editor_.InsertReturnString();
  EXPECT_EQ(Text(), "a\r\n;\r\nb\r\n");
}

}  // namespace
}  // namespace kerv

namespace kerv {
namespace {

class TEditorMouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string text = "abcdef\r\nghijkl\r\nmnopqr\r\n";
    TMemoryStream stream(text);
    editor_.Lines().LoadFromStream(stream);
  }
  int X(int col) { return editor_.Metrics().textLeft + col * editor_.Metrics().charWidth + 1; }
  int Y(int row) { return editor_.Metrics().textTop + row * editor_.Metrics().rowHeight + 1; }
  void Drag(int fromRow, int fromCol, int toRow, int toCol, bool ctrl = false) {
    editor_.MouseDown(X(fromCol), Y(fromRow), false, ctrl);
    editor_.MouseMove(X(toCol), Y(toRow), true, ctrl);
    editor_.MouseUp(X(toCol), Y(toRow), ctrl);
  }
  FakeEditorWindow window_;
  TEditor editor_{&window_};
};

TEST_F(TEditorMouseTest, DraggingSelectsAndAClickInsideTheSelectionCancelsIt) {
  Drag(0, 1, 1, 2);
  EXPECT_EQ(editor_.SelText(), "bcdef\r\ngh");
  // A press and release inside the selection, without a move.
  editor_.MouseDown(X(3), Y(0), false, false);
  EXPECT_EQ(editor_.DragState(), dsPending);
  EXPECT_TRUE(editor_.Selected());
  editor_.MouseUp(X(3), Y(0), false);
  EXPECT_FALSE(editor_.Selected());
  EXPECT_EQ(editor_.Row(), 0);
  EXPECT_EQ(editor_.Col(), 3);
}

TEST_F(TEditorMouseTest, DraggingTheSelectionMovesOrCopiesIt) {
  Drag(0, 0, 0, 2);  // selects "ab"
  ASSERT_EQ(editor_.SelText(), "ab");
  Drag(0, 1, 2, 3);
  EXPECT_EQ(editor_.RowStore().GetText(), "cdef\r\nghijkl\r\nmnoabpqr\r\n");
  Drag(1, 0, 1, 2);  // selects "gh"
  Drag(1, 1, 0, 0, true);
  EXPECT_EQ(editor_.RowStore().GetText(), "ghcdef\r\nghijkl\r\nmnoabpqr\r\n");
  // A drop inside the selection changes nothing.
  Drag(2, 0, 2, 4);
  Drag(2, 1, 2, 2);
  EXPECT_EQ(editor_.RowStore().GetText(), "ghcdef\r\nghijkl\r\nmnoabpqr\r\n");
  EXPECT_FALSE(editor_.Selected());
}

TEST_F(TEditorMouseTest, ALeftBarPressSelectsRowsAndDragExtendsThem) {
  editor_.Leftbar().SetVisible(true);
  editor_.MouseDown(2, Y(1), false, false);
  EXPECT_EQ(editor_.SelText(), "ghijkl\r\n");
  EXPECT_EQ(editor_.MouseMove(2, Y(2), true, false), ckLeftMargin);
  editor_.MouseUp(2, Y(2), false);
  EXPECT_EQ(editor_.SelText(), "ghijkl\r\nmnopqr\r\n");
  EXPECT_EQ(editor_.RowSelectFirst(), -1);
}

TEST_F(TEditorMouseTest, CursorKindsFollowWhatLiesUnderTheMouse) {
  EXPECT_EQ(editor_.MouseMove(2, Y(0), false, false), ckLeftMargin);
  EXPECT_EQ(editor_.MouseMove(X(2), Y(0), false, false), ckDefault);
  Drag(0, 1, 0, 4);
  EXPECT_EQ(editor_.MouseMove(X(2), Y(0), false, false), ckInSelection);
  editor_.SetReadOnly(true);
  EXPECT_EQ(editor_.MouseMove(X(2), Y(0), false, false), ckDefault);
}

}  // namespace
}  // namespace kerv

namespace kerv {
namespace {

// A range replaced in one change gives the text a plain string splice gives,
// whether it covers whole lines (rows replaced as they are) or not, wrapped
// or not; one undo restores the text and the caret follows the new text.
TEST_F(TEditorTest, ReplaceRangeSplicesTheTextInOneUndoStep) {
  const std::string text = "one\r\ntwo two two two two\r\nthree\r\nfour\r\nlast";
  struct Case {
    long long start;
    long long length;
    std::string with;
  } cases[] = {
      {5, 28, "2\r\n3\r\n"},         // whole lines by whole lines
      {0, 5, "zero\r\none\r\n"},     // the first line
      {5, 21, "x\r\n"},              // one whole line
      {6, 10, "W"},                  // inside a line
      {5, 28, "joined"},             // whole lines by text that joins the next
      {26, 17, "tail\r\n"},          // through the end without a final break
      {0, 43, "all\r\n"},            // everything
      {33, 6, kA + "\r\n"},          // the last whole line before the end
  };
  for (bool wrap : {false, true}) {
    for (const Case& c : cases) {
      editor_.WrapOption().SetWrapByte(10);
      editor_.SetWordWrap(wrap);
      Load(text);
      editor_.RowStore().UndoObj().Clear();
      editor_.ReplaceRange(c.start, c.length, c.with);
      std::string expected = text.substr(0, static_cast<size_t>(c.start)) + c.with +
                             text.substr(static_cast<size_t>(c.start + c.length));
      EXPECT_EQ(Text(), expected) << "wrap " << wrap << " at " << c.start << " [" << c.with << "]";
      EXPECT_EQ(editor_.SelStart(), c.start + static_cast<long long>(c.with.size())) << c.start;
      editor_.Undo();
      EXPECT_EQ(Text(), text) << "wrap " << wrap << " at " << c.start;
      EXPECT_FALSE(editor_.CanUndo());
    }
  }
}

}  // namespace
}  // namespace kerv
