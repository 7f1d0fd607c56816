// Every selection and every edit lands where the user sees it: the anchor a
// click leaves, ranges in box mode, the emphasis against the search, the
// caret across a re-wrap, and rows far wider than a screen.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/TEditor.h"
#include "editor/TEditorPaintPlan.h"
#include "search/SearchFlags.h"
#include "tests/editor/control/FakeEditorWindow.h"

namespace kerv {
namespace {

using testing::FakeEditorWindow;

class TEditorWhereEditsLandTest : public ::testing::Test {
 protected:
  void Load(const std::string& text) {
    TMemoryStream stream(text);
    editor_.Lines().LoadFromStream(stream);
    editor_.SetRow(0);
    editor_.SetCol(0);
  }
  std::string Text() { return editor_.RowStore().GetText(); }
  void Click(int row, int col, bool shift = false) {
    int x = editor_.ColToX(col) + 1;
    int y = editor_.RowToY(row) + 1;
    editor_.MouseDown(x, y, shift, false);
    editor_.MouseUp(x, y, false);
  }

  FakeEditorWindow window_;
  TEditor editor_{&window_};
};

// What a user does after a click: each step is a key, a typed text or a click.
struct Step {
  enum Kind { Type, Key, ShiftKey, Return, Backspace, Tab, Paste, Delete, ShiftClick };
  Step(Kind k, TEditorKey aKey = vkEnd, std::string aText = {}, int aCol = 0)
      : kind(k), key(aKey), text(std::move(aText)), col(aCol) {}
  Kind kind;
  TEditorKey key;
  std::string text;
  int col;
};

TEST_F(TEditorWhereEditsLandTest, AfterAClickAndAnEditShiftSelectsFromTheCaret) {
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::string expected;
  } cases[] = {
      {"type, Shift+End, Delete",
       {{Step::Type, vkEnd, "XY"}, {Step::ShiftKey, vkEnd}, {Step::Delete}},
       "abXY"},
      {"type, Shift+Right, Delete", {{Step::Type, vkEnd, "XY"}, {Step::ShiftKey, vkRight}, {Step::Delete}}, "abXYdefghij"},
      {"type, Shift+Left, Delete", {{Step::Type, vkEnd, "XY"}, {Step::ShiftKey, vkLeft}, {Step::Delete}}, "abXcdefghij"},
      {"Return, Shift+End, Delete", {{Step::Return}, {Step::ShiftKey, vkEnd}, {Step::Delete}}, "ab\r\n"},
      {"Backspace, Shift+End, Delete", {{Step::Backspace}, {Step::ShiftKey, vkEnd}, {Step::Delete}}, "a"},
      {"Tab, Shift+Right, Delete", {{Step::Tab}, {Step::ShiftKey, vkRight}, {Step::Delete}}, "ab\tdefghij"},
      {"paste, Shift+End, Delete", {{Step::Paste, vkEnd, "PQ"}, {Step::ShiftKey, vkEnd}, {Step::Delete}}, "abPQ"},
      {"type, Shift+click, Delete", {{Step::Type, vkEnd, "XY"}, {Step::ShiftClick, vkEnd, "", 7}, {Step::Delete}},
       "abXYfghij"},
      // Without an edit the click point is the caret: Shift+click selects from it.
      {"Shift+click alone", {{Step::ShiftClick, vkEnd, "", 5}, {Step::Delete}}, "abfghij"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load("abcdefghij");
    editor_.RowStore().UndoObj().Clear();
    Click(0, 2);
    for (const Step& step : c.steps) {
      switch (step.kind) {
        case Step::Type: editor_.InsertText(step.text); break;
        case Step::Key: editor_.KeyDown(step.key, false, false, false); break;
        case Step::ShiftKey: editor_.KeyDown(step.key, true, false, false); break;
        case Step::Return: editor_.KeyPress('\r'); break;
        case Step::Backspace: editor_.KeyPress(0x08); break;
        case Step::Tab: editor_.KeyPress('\t'); break;
        case Step::Paste: editor_.ReplaceSelText(step.text); break;
        case Step::Delete: editor_.KeyDown(vkDelete, false, false, false); break;
        case Step::ShiftClick: Click(editor_.Row(), step.col, true); break;
      }
    }
    EXPECT_EQ(Text(), c.expected);
  }
}

TEST_F(TEditorWhereEditsLandTest, ARangeOfBytesInBoxModeIsANormalSelection) {
  Load("aaaa x\r\nb\r\ncc");
  editor_.SetSelectionMode(smBox);
  // Select All in box mode selects everything, and Delete empties the document.
  editor_.SelectAll();
  EXPECT_EQ(editor_.SelectionMode(), smNormal);
  EXPECT_EQ(editor_.SelText(), "aaaa x\r\nb\r\ncc");
  editor_.KeyDown(vkDelete, false, false, false);
  EXPECT_EQ(Text(), "");

  // A range over several rows, as a search hit is selected.
  Load("aaaa x\r\nb\r\ncc");
  editor_.SetSelectionMode(smBox);
  editor_.SetSelStart(5);
  editor_.SetSelLength(4);
  EXPECT_EQ(editor_.SelectionMode(), smNormal);
  EXPECT_EQ(editor_.SelText(), "x\r\nb");
  EXPECT_EQ(editor_.SelStart(), 5);

  // A replacement of a range changes exactly that range.
  Load("aaaa x\r\nb");
  editor_.SetSelectionMode(smBox);
  editor_.ReplaceRange(5, 1, "y");
  EXPECT_EQ(Text(), "aaaa y\r\nb");
}

TEST_F(TEditorWhereEditsLandTest, RegularExpressionEmphasisAgreesWithTheSearch) {
  TEditorPaintPlanner planner(editor_);
  struct Case {
    const char* pattern;
    const char* text;
    std::vector<std::vector<unsigned char>> rows;  // emphasis of each byte, row by row
  } cases[] = {
      {"^a", "aaa\r\nbaa", {{13, 0, 0}, {0, 0, 0}}},
      {"a$", "aaa\r\nbaa", {{0, 0, 13}, {0, 0, 13}}},
      {"^a+", "aab\r\naa", {{13, 13, 0}, {13, 13}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    Load(c.text);
    editor_.SetFindString(c.pattern, SearchFlag::RegExp);
    for (size_t row = 0; row < c.rows.size(); ++row) {
      EXPECT_EQ(planner.PlanRow(static_cast<int>(row)).emphasis, c.rows[row]) << "row " << row;
    }
  }
  // A wrapped line is one line: "^" holds on its first row only, "$" on its last.
  editor_.WrapOption().SetWrapByte(20);
  editor_.SetWordWrap(true);
  Load(std::string(45, 'a'));
  const int rows = editor_.RowCount();
  ASSERT_GE(rows, 2);
  auto marked = [&](int row) {
    std::vector<int> at;
    std::vector<unsigned char> kinds = planner.PlanRow(row).emphasis;
    for (size_t i = 0; i < kinds.size(); ++i) {
      if (kinds[i] == ekFindString) at.push_back(static_cast<int>(i));
    }
    return at;
  };
  editor_.SetFindString("^a", SearchFlag::RegExp);
  EXPECT_EQ(marked(0), std::vector<int>{0});
  for (int row = 1; row < rows; ++row) EXPECT_TRUE(marked(row).empty()) << row;
  editor_.SetFindString("a$", SearchFlag::RegExp);
  for (int row = 0; row + 1 < rows; ++row) EXPECT_TRUE(marked(row).empty()) << row;
  EXPECT_EQ(marked(rows - 1), std::vector<int>{static_cast<int>(editor_.RowText(rows - 1).size()) - 1});
}

TEST_F(TEditorWhereEditsLandTest, TogglingWrapKeepsTheCaretOnItsCharacterAndInView) {
  std::string text;
  for (int line = 0; line < 5040; ++line) text += "line " + std::to_string(line) + std::string(100, 'w') + "\r\n";
  text += "last line here";
  Load(text);
  editor_.SetRow(5039);
  editor_.SetCol(7);
  const long long offset = editor_.SelStart();
  struct Toggle {
    const char* name;
    bool wordWrap;
    int wrapByte;
  } toggles[] = {{"wrap on", true, 60}, {"narrower", true, 30}, {"wrap off", false, 30}, {"on again", true, 80}};
  for (const Toggle& t : toggles) {
    SCOPED_TRACE(t.name);
    editor_.WrapOption().SetWrapByte(t.wrapByte);
    editor_.SetWordWrap(t.wordWrap);
    EXPECT_EQ(editor_.SelStart(), offset);
    // The horizontal range is the rows' as they are cut now.
    if (t.wordWrap) {
      EXPECT_LE(editor_.ColumnRange(), t.wrapByte + 1);
    } else {
      EXPECT_GE(editor_.ColumnRange(), 110);
    }
    EXPECT_GE(editor_.Row(), editor_.TopRow());
    EXPECT_LT(editor_.Row(), editor_.TopRow() + editor_.VisibleRows());
  }
  // Scrolled far right, wrapping brings the view back to the caret.
  editor_.SetWordWrap(false);
  editor_.SetCol(90);
  editor_.SetTopCol(3000);
  editor_.SetWordWrap(true);
  EXPECT_EQ(editor_.SelStart(), offset - 7 + 90);
  EXPECT_LE(editor_.TopCol(), editor_.Col());
  EXPECT_LT(editor_.Col(), editor_.TopCol() + editor_.VisibleCols());
}

TEST_F(TEditorWhereEditsLandTest, EveryByteOfAVeryLongRowCanBeReached) {
  // 200,000 double-byte characters whose second byte lies in the lead-byte range.
  const std::string wide = "\x82\x9f";
  std::string line = "x";
  for (int i = 0; i < 200000; ++i) line += wide;
  Load(line + "\r\nshort");
  editor_.KeyDown(vkEnd, false, false, false);
  EXPECT_EQ(editor_.Col(), 400001);
  EXPECT_GE(editor_.Col(), editor_.TopCol());
  EXPECT_LE(editor_.Col(), editor_.TopCol() + editor_.VisibleCols());
  editor_.InsertText("Z");
  EXPECT_EQ(editor_.RowText(0).substr(400001), "Z");
  // Left steps back over one whole character; Right at the end goes no further.
  editor_.KeyDown(vkLeft, false, false, false);
  editor_.KeyDown(vkLeft, false, false, false);
  EXPECT_EQ(editor_.Col(), 399999);
  editor_.KeyDown(vkEnd, false, false, false);
  editor_.KeyDown(vkRight, false, false, false);
  EXPECT_EQ(editor_.Row(), 0);
  // A range far out is selected in view, as a search hit is.
  editor_.SetSelStart(300001);
  editor_.SetSelLength(2);
  EXPECT_EQ(editor_.SelText(), wide);
  EXPECT_GE(editor_.Col(), editor_.TopCol());
  EXPECT_LE(editor_.Col(), editor_.TopCol() + editor_.VisibleCols());
  // The horizontal range takes in the widest row.
  EXPECT_GE(editor_.ColumnRange(), 400002);
}

TEST_F(TEditorWhereEditsLandTest, AVeryLongRowIsPlannedAroundTheViewOnCharacterBoundaries) {
  TEditorPaintPlanner planner(editor_);
  std::string line = "x";
  for (int i = 0; i < 15000; ++i) line += "\x82\x9f";
  line += "end";
  Load(line);
  const int width = static_cast<int>(line.size());
  // Wherever the view stands, the plan starts and ends on whole characters
  // and covers the columns in view.
  for (int topCol : {0, 257, 258, 1000, 1001, 20000, 29990}) {
    SCOPED_TRACE(topCol);
    editor_.SetTopCol(topCol);
    TRowPaintPlan plan = planner.PlanRow(0);
    EXPECT_EQ(plan.rowWidth, width);
    EXPECT_LT(plan.text.size(), line.size());
    EXPECT_EQ(plan.text, line.substr(plan.firstCol, plan.text.size()));
    EXPECT_TRUE(plan.firstCol == 0 || plan.firstCol % 2 == 1) << "starts inside a character";
    int end = plan.firstCol + static_cast<int>(plan.text.size());
    EXPECT_TRUE(end == width || end % 2 == 1) << "ends inside a character";
    EXPECT_LE(plan.firstCol, editor_.TopCol());
    EXPECT_GE(end, std::min(width, editor_.TopCol() + editor_.VisibleCols()));
  }
  // A row of ordinary length is planned whole.
  Load(std::string(5000, 'y'));
  EXPECT_EQ(planner.PlanRow(0).text.size(), 5000u);
  // A loaded row wider than the least range widens it at once.
  EXPECT_GE(editor_.ColumnRange(), 5000);
}

TEST_F(TEditorWhereEditsLandTest, TheCompositionWindowFollowsOnceARepeatingKeyIsReleased) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "row\r\n";
  Load(text);
  editor_.FocusIn();
  editor_.KeyDown(vkDown, false, false, false);
  const int moves = window_.compositionMoves;
  EXPECT_GT(moves, 0);
  // Held down, the key repeats: the caret moves, the composition window waits.
  for (int i = 0; i < 5; ++i) editor_.KeyDown(vkDown, false, false, true);
  editor_.KeyDown(vkRight, false, false, true);
  EXPECT_EQ(window_.compositionMoves, moves);
  editor_.KeyUp();
  EXPECT_EQ(window_.compositionMoves, moves + 1);
  EXPECT_EQ(window_.compositionX, editor_.ColToX(editor_.Col()));
  // A typed character also brings it to the caret.
  editor_.KeyDown(vkRight, false, false, true);
  editor_.KeyPress('a');
  EXPECT_EQ(window_.compositionX, editor_.ColToX(editor_.Col()));
  editor_.KeyUp();
}

}  // namespace
}  // namespace kerv
