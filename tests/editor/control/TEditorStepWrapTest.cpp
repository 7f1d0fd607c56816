// A big text loaded with word wrap on is cut in steps. Whatever happens while
// the steps run (edits, undo, views far down, the line view), the text never
// changes by it, and the rows end as the wrap of the whole text at once.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "editor/TEditor.h"
#include "tests/editor/control/FakeEditorWindow.h"

namespace kerv {
namespace {

using testing::FakeEditorWindow;

const std::string kA = "\x82\xa0";     // あ
const std::string kKuten = "\x81\x42";  // 。

struct TRowImage {
  std::string text;
  TRowAttribute kind;
  bool operator==(const TRowImage&) const = default;
};

std::vector<TRowImage> Rows(const TEditor& editor) {
  std::vector<TRowImage> rows;
  const TEditorScreenStrings& store = editor.RowStore();
  for (int row = 0; row < store.Count(); ++row) rows.push_back({store.GetString(row), store.RowAttribute(row)});
  return rows;
}

// Lines of every shape the cutter knows: short, long, exactly the width,
// with tabs, double-byte characters and punctuation at the cut, and a text
// that ends with or without a line break.
std::string MixedText(int lines, bool finalBreak) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    switch (i % 6) {
      case 0: text += "short " + std::to_string(i); break;
      case 1: text += std::string(57, 'x') + " word " + std::to_string(i); break;
      case 2: text += std::string(20, 'y'); break;  // exactly the width
      case 3: text += "\tt\tab " + std::string(30, 'z'); break;
      case 4:
        for (int k = 0; k < 12; ++k) text += kA;
        text += kKuten + kKuten + "tail";
        break;
      default: break;  // empty line
    }
    if (i + 1 < lines || finalBreak) text += "\r\n";
  }
  return text;
}

class TEditorStepWrapTest : public ::testing::Test {
 protected:
  // stepBytes 1: every load goes in steps; huge: at once.
  static void Configure(TEditor& editor, size_t stepBytes, bool followRetMark = true) {
    editor.WrapOption().SetWrapByte(20);
    editor.WrapOption().SetFollowRetMark(followRetMark);
    editor.SetWordWrap(true);
    editor.RowStore().SetStepWrapBytes(stepBytes);
  }
  static void Load(TEditor& editor, const std::string& text) {
    editor.Lines().LoadText(std::string(text));
    editor.SetRow(0);
    editor.SetCol(0);
  }
  // The rows the whole text gets when wrapped at once.
  static std::vector<TRowImage> WrappedAtOnce(const std::string& text, bool followRetMark = true) {
    FakeEditorWindow window;
    TEditor editor(&window);
    Configure(editor, static_cast<size_t>(-1), followRetMark);
    Load(editor, text);
    return Rows(editor);
  }
  void FillAll(int budget = 7) {
    while (editor_.RowStore().WrapPending()) editor_.RowStore().FillWrap(budget);
  }
  std::string Text() { return editor_.RowStore().GetText(); }

  FakeEditorWindow window_;
  TEditor editor_{&window_};
};

TEST_F(TEditorStepWrapTest, StepsEndAsTheWrapOfTheWholeText) {
  for (bool followRetMark : {true, false}) {
    for (bool finalBreak : {true, false}) {
      FakeEditorWindow window;
      TEditor editor(&window);
      Configure(editor, 1, followRetMark);
      const std::string text = MixedText(600, finalBreak);
      Load(editor, text);
      ASSERT_TRUE(editor.RowStore().WrapPending());
      // The first screen is cut already.
      for (int row = 0; row < editor.VisibleRows(); ++row) EXPECT_LE(editor.RowWidth(row), 22) << row;
      const int lines = editor.RowStore().LineCount();
      int steps = 0;
      while (editor.RowStore().WrapPending()) {
        editor.RowStore().FillWrap(13);
        ASSERT_EQ(editor.RowStore().GetText(), text);
        ASSERT_EQ(editor.RowStore().LineCount(), lines);
        ++steps;
      }
      EXPECT_GT(steps, 10);
      EXPECT_EQ(Rows(editor), WrappedAtOnce(text, followRetMark)) << followRetMark << finalBreak;
    }
  }
}

// Typing, deleting and undoing far below the cut rows: each edit cuts only
// the lines around it, so it answers at once; the text is right, undo and
// redo find their rows while the lines between are cut, and the rows still
// end as the whole wrap.
TEST_F(TEditorStepWrapTest, EditsFarDownLandOnTheirTextAndUndo) {
  Configure(editor_, 1);
  const std::string text = MixedText(900, true);
  Load(editor_, text);
  ASSERT_TRUE(editor_.RowStore().WrapPending());
  const int pendingFrom = editor_.RowStore().WrapFrom();

  const int lastLineRow = editor_.RowStore().LineToRow(898);
  const long long at = editor_.OffsetOfRow(lastLineRow, 3);
  editor_.SetSelStart(at);
  editor_.InsertText("ABC");
  std::string expected = text;
  expected.insert(static_cast<size_t>(at), "ABC");
  EXPECT_EQ(Text(), expected);
  EXPECT_EQ(editor_.SelStart(), at + 3);
  EXPECT_EQ(editor_.RowStore().WrapFrom(), pendingFrom) << "the lines between wait still";
  // Undone and redone with the lines above cut in between.
  editor_.RowStore().FillWrap(200);
  editor_.Undo();
  EXPECT_EQ(Text(), text);
  EXPECT_EQ(editor_.SelStart(), at);
  editor_.RowStore().FillWrap(200);
  editor_.Redo();
  EXPECT_EQ(Text(), expected);

  const long long middle = editor_.OffsetOfRow(editor_.RowStore().LineToRow(450), 1);
  editor_.SetSelStart(middle);
  editor_.SetSelLength(30);
  editor_.KeyDown(vkDelete, false, false, false);
  expected.erase(static_cast<size_t>(middle), 30);
  EXPECT_EQ(Text(), expected);

  // Lines still waiting between and below the edits.
  FillAll();
  EXPECT_EQ(Text(), expected);
  editor_.Undo();
  editor_.Undo();
  EXPECT_EQ(Text(), text);
  EXPECT_EQ(Rows(editor_), WrappedAtOnce(text));
  editor_.Redo();
  editor_.Redo();
  EXPECT_EQ(Text(), expected);
}

// The fill cuts lines above a view that stands far down: its caret, its
// selection and its top row stay on the same text.
TEST_F(TEditorStepWrapTest, AViewFarDownKeepsItsPlaces) {
  Configure(editor_, 1);
  const std::string text = MixedText(1200, false);
  Load(editor_, text);
  const long long start = editor_.OffsetOfRow(editor_.RowStore().LineToRow(1000), 5);
  editor_.SetSelStart(start);
  editor_.SetSelLength(400);
  const std::string selected = editor_.SelText();
  const int topLine = 990;
  editor_.SetTopRow(editor_.RowStore().LineToRow(topLine));
  const long long top = editor_.OffsetOfRow(editor_.TopRow());

  // Cut through the rows above the view, then the view's own rows.
  while (editor_.RowStore().WrapPending() && editor_.RowStore().WrapFrom() < editor_.TopRow()) {
    editor_.RowStore().FillWrap(11);
  }
  editor_.CutShownRows();
  FillAll();
  EXPECT_EQ(editor_.SelText(), selected);
  EXPECT_EQ(editor_.SelStart(), start);
  EXPECT_EQ(editor_.OffsetOfRow(editor_.TopRow()), top);
  EXPECT_EQ(editor_.RowToLine(editor_.TopRow()), topLine);
  EXPECT_EQ(Rows(editor_), WrappedAtOnce(text));
}

// A view that shows rows below the cut ones gets them cut before they are
// painted, without waiting for the rows between.
TEST_F(TEditorStepWrapTest, ShownRowsAreCutBeforeTheRowsAbove) {
  Configure(editor_, 1);
  const std::string text = MixedText(3000, true);
  Load(editor_, text);
  const int rowsBefore = editor_.RowCount();
  editor_.SetTopRow(2500);
  editor_.MoveCaretTo(2500, 0);
  const std::string topText(editor_.RowText(2500));
  editor_.CutShownRows();
  EXPECT_EQ(editor_.TopRow(), 2500) << "rows above the view are not cut";
  EXPECT_EQ(editor_.RowText(2500), topText.substr(0, editor_.RowText(2500).size()));
  for (int row = 2500; row < 2500 + editor_.VisibleRows(); ++row) EXPECT_LE(editor_.RowWidth(row), 22) << row;
  EXPECT_TRUE(editor_.RowStore().WrapPending());
  EXPECT_GT(editor_.RowCount(), rowsBefore);
  FillAll(100);
  EXPECT_EQ(Rows(editor_), WrappedAtOnce(text));
}

// A caret in view near the bottom stays in view when the lines shown above
// it are cut into more rows.
TEST_F(TEditorStepWrapTest, ACaretInViewStaysInViewAsRowsAreCut) {
  Configure(editor_, 1);
  Load(editor_, MixedText(3000, true));
  editor_.SetTopRow(2000);
  editor_.MoveCaretTo(2000 + editor_.VisibleRows() - 1, 0);
  const long long caret = editor_.SelStart();
  editor_.CutShownRows();
  EXPECT_EQ(editor_.SelStart(), caret);
  EXPECT_GE(editor_.Row(), editor_.TopRow());
  EXPECT_LT(editor_.Row(), editor_.TopRow() + editor_.VisibleRows());
}

// Switching the wrap off and on, at once or in steps, keeps the view on the
// line it showed at its top (with the caret in view; a caret out of view is
// brought into it).
TEST_F(TEditorStepWrapTest, SwitchingTheWrapKeepsTheViewOnItsLine) {
  for (size_t stepBytes : {static_cast<size_t>(-1), size_t{1}}) {
    FakeEditorWindow window;
    TEditor editor(&window);
    Configure(editor, stepBytes);
    Load(editor, MixedText(600, true));
    editor.SetTopRow(editor.RowStore().LineToRow(300));
    editor.MoveCaretTo(editor.RowStore().LineToRow(301), 0);
    for (bool wrap : {false, true, false}) {
      editor.SetWordWrap(wrap);
      EXPECT_EQ(editor.RowToLine(editor.TopRow()), 300) << "wrap " << wrap << " steps " << (stepBytes == 1);
    }
  }
}

// The line view edits by line index: far down it cuts first as well.
TEST_F(TEditorStepWrapTest, TheLineViewEditsFarDown) {
  Configure(editor_, 1);
  const std::string text = MixedText(800, true);
  Load(editor_, text);
  TEditorStrings& lines = editor_.Lines();
  const std::string line700 = lines.Get(700);
  lines.Put(701, "put");
  lines.Insert(703, "inserted");
  lines.Delete(600);
  EXPECT_EQ(lines.Get(699), line700);
  EXPECT_EQ(lines.Get(700), "put");
  EXPECT_EQ(lines.Get(702), "inserted");
  // The row store's own edit, far below, on a row not cut yet: the text put
  // in its place is cut, and undo finds the row after the lines above are cut.
  TEditorScreenStrings& store = editor_.RowStore();
  ASSERT_TRUE(store.WrapPending());
  const int row = store.LineToRow(790);
  ASSERT_GT(row, store.WrapFrom());
  const std::string line790 = lines.Get(790);
  store.ReplaceRows(row, 1, "net\r\n");
  EXPECT_EQ(lines.Get(790), "net");
  FillAll();
  store.Undo();
  EXPECT_EQ(lines.Get(790), line790);
  std::string expected = store.GetText();
  EXPECT_EQ(lines.GetCount(), 800);
  EXPECT_EQ(Rows(editor_), WrappedAtOnce(expected));
}

// A new width while steps are pending, or the wrap switched off and on,
// joins the lines in place and cuts them in steps again; the caret stays on
// its text and the rows end as the whole wrap at the new width.
TEST_F(TEditorStepWrapTest, ChangingTheWrapStartsTheStepsAgain) {
  Configure(editor_, 1);
  const std::string text = MixedText(500, true);
  Load(editor_, text);
  ASSERT_TRUE(editor_.RowStore().WrapPending());
  const long long caret = editor_.OffsetOfRow(editor_.RowStore().LineToRow(450), 7);
  editor_.SetSelStart(caret);
  FillAll(30);
  editor_.SetSelStart(caret);
  editor_.WrapOption().SetWrapByte(30);
  EXPECT_TRUE(editor_.RowStore().WrapPending());
  EXPECT_EQ(Text(), text);
  EXPECT_EQ(editor_.SelStart(), caret);
  FillAll();
  FakeEditorWindow window;
  TEditor wide(&window);
  Configure(wide, static_cast<size_t>(-1));
  wide.WrapOption().SetWrapByte(30);
  Load(wide, text);
  EXPECT_EQ(Rows(editor_), Rows(wide));

  editor_.SetWordWrap(false);
  EXPECT_EQ(editor_.RowCount(), 500);
  EXPECT_EQ(Text(), text);
  editor_.WrapOption().SetWrapByte(20);
  editor_.SetWordWrap(true);
  EXPECT_TRUE(editor_.RowStore().WrapPending());
  EXPECT_EQ(editor_.SelStart(), caret);
  FillAll();
  EXPECT_EQ(editor_.SelStart(), caret);
  EXPECT_EQ(Rows(editor_), WrappedAtOnce(text));
}

}  // namespace
}  // namespace kerv
