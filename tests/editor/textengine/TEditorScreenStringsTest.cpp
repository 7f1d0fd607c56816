#include "editor/TEditorScreenStrings.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <random>

#include "tests/editor/textengine/FakeEditorView.h"
#include "tests/editor/textengine/RowsTestSupport.h"

namespace kerv {
namespace {

using testing::FakeEditorView;
using testing::Rows;
using V = std::vector<std::string>;

class TEditorScreenStringsTest : public ::testing::Test {
 protected:
  void SetText(const std::string& text) {
    TMemoryStream stream(text);
    TEditorStrings(view_).LoadFromStream(stream);
  }
  TEditorScreenStrings store_;
  FakeEditorView view_{store_};
};

TEST_F(TEditorScreenStringsTest, BadRangesChangeAndRecordNothing) {
  SetText("ab\r\ncd");
  for (auto [row, count] : {std::pair{-1, 1}, {2, 1}, {1, 2}, {3, 0}, {0, -1}}) store_.ReplaceRows(row, count, "x");
  store_.ReplaceRows(1, 0, "");
  EXPECT_EQ(store_.GetText(), "ab\r\ncd");
  EXPECT_FALSE(store_.UndoObj().CanUndo());
}

TEST_F(TEditorScreenStringsTest, ReplacingRowsCutsTheChangedLinesOnly) {
  store_.WrapOption().SetWrapByte(20);
  store_.SetWordWrap(true);
  SetText(std::string(15, 'a') + "\r\n" + std::string(15, 'b') + "\r\n" + std::string(25, 'c'));
  EXPECT_EQ(Rows(store_), (V{std::string(15, 'a') + "|c", std::string(15, 'b') + "|c", std::string(20, 'c') + "|w",
                              "ccccc|e"}));
  // Deleting the line break of line 0 joins it with line 1, cut again as one line.
  view_.rowsChanged = 0;
  store_.ReplaceRows(0, 1, std::string(15, 'a'));
  EXPECT_EQ(Rows(store_), (V{std::string(15, 'a') + "bbbbb|w", std::string(10, 'b') + "|c",
                              std::string(20, 'c') + "|w", "ccccc|e"}));
  EXPECT_EQ(view_.rowsChanged, 1);
  EXPECT_EQ(view_.lastChange.firstRow, 0);
  EXPECT_EQ(view_.lastChange.oldRowCount, 2);
  EXPECT_EQ(view_.lastChange.newRowCount, 2);
  EXPECT_TRUE(view_.lastChange.changed);
  EXPECT_FALSE(store_.ChangeRecord().changed) << "reset after the notification";
  // A change at the start of a continued row lets the row before take more text.
  store_.ReplaceRows(1, 1, "b\r\n");
  EXPECT_EQ(Rows(store_), (V{std::string(15, 'a') + "bbbbb|w", "b|c", std::string(20, 'c') + "|w", "ccccc|e"}));
  store_.UndoObj().Undo();
  store_.UndoObj().Undo();
  EXPECT_EQ(store_.GetText(), std::string(15, 'a') + "\r\n" + std::string(15, 'b') + "\r\n" + std::string(25, 'c'));
}

TEST_F(TEditorScreenStringsTest, AnEmptyLastLineSurvivesChangesAndUndo) {
  store_.WrapOption().SetWrapByte(20);
  store_.SetWordWrap(true);
  // A line that fills the width exactly ends in an empty row; at the end of
  // the document that row is the empty last line.
  SetText(std::string(20, 'a'));
  ASSERT_EQ(Rows(store_), (V{std::string(20, 'a') + "|w", "|e"}));
  store_.ReplaceRows(1, 0, "x\r\n\r\n");
  EXPECT_EQ(store_.GetText(), std::string(20, 'a') + "x\r\n\r\n");
  store_.Undo();
  EXPECT_EQ(store_.GetText(), std::string(20, 'a'));
  // Old rows ending in an empty raEof row come back with it.
  store_.SetWordWrap(false);
  SetText("abc\r\n");
  store_.ReplaceRows(0, 1, "z");
  EXPECT_EQ(store_.GetText(), "z");
  store_.Undo();
  EXPECT_EQ(store_.GetText(), "abc\r\n");
}

TEST_F(TEditorScreenStringsTest, WrapOnAndOffGivesBackTheLinesAndClearsUndo) {
  std::string text = std::string(90, 'x') + "\r\n\r\n" + std::string(200, 'y') + "\r\nz";
  SetText(text);
  store_.ReplaceRows(1, 0, "new\r\n");
  store_.Undo();
  view_.caretCol = 5;
  ASSERT_TRUE(store_.UndoObj().CanRedo());
  store_.SetWordWrap(true);
  EXPECT_GT(store_.Count(), 4);
  EXPECT_EQ(store_.LineCount(), 4);
  EXPECT_FALSE(store_.UndoObj().CanUndo());
  EXPECT_FALSE(store_.UndoObj().CanRedo());
  EXPECT_EQ(view_.caretCol, 0);
  store_.SetWordWrap(false);
  EXPECT_EQ(Rows(store_), (V{std::string(90, 'x') + "|c", "|c", std::string(200, 'y') + "|c", "z|e"}));
  EXPECT_EQ(store_.GetText(), text);
}

TEST_F(TEditorScreenStringsTest, WrapOptionChangeRewrapsWhileWrapIsOn) {
  SetText(std::string(100, 'x'));
  store_.SetWordWrap(true);
  EXPECT_EQ(store_.Count(), 2);
  store_.WrapOption().SetWrapByte(30);
  EXPECT_EQ(store_.Count(), 4);
  store_.SetWordWrap(false);
  store_.WrapOption().SetWrapByte(20);
  EXPECT_EQ(store_.Count(), 1);
}

TEST_F(TEditorScreenStringsTest, LinesAndRowsMapBothWays) {
  store_.WrapOption().SetWrapByte(20);
  store_.SetWordWrap(true);
  std::string text;
  std::mt19937 random(7);
  for (int line = 0; line < 3000; ++line) text += std::string(random() % 70, 'a' + line % 26) + "\r\n";
  text += std::string(45, 'q');  // ends in a wrapped line without a break
  SetText(text);
  int line = 0;
  for (int row = 0; row < store_.Count(); ++row) {
    if (row == 0 || store_.RowAttribute(row - 1) != raWrapped) {
      ASSERT_EQ(store_.LineToRow(line), row) << line;
      ++line;
    }
    ASSERT_EQ(store_.RowToLine(row), line - 1) << row;
  }
  EXPECT_EQ(store_.LineCount(), line);
  EXPECT_EQ(store_.LineToRow(line), store_.Count());
}

TEST_F(TEditorScreenStringsTest, BracketStatesFollowAnOpenedComment) {
  TEditorBracketItem& pair = view_.viewInfo.Brackets().Add();
  pair.SetLeftBracket("/*");
  pair.SetRightBracket("*/");
  std::string text;
  for (int i = 0; i < 100; ++i) text += "line\r\n";
  SetText(text);
  view_.screenRows = 10;
  // Computed for two screens from the top; the rest waits until painted.
  EXPECT_EQ(store_.BracketState(0), -1);
  EXPECT_EQ(store_.BracketState(20), -1);
  EXPECT_EQ(store_.BracketState(21), -2);
  view_.repainted.clear();
  store_.ReplaceRows(0, 1, "/*line\r\n");
  for (int row = 1; row <= 20; ++row) EXPECT_EQ(store_.BracketState(row), 0) << row;
  EXPECT_EQ(store_.BracketState(21), -2);
  EXPECT_EQ(store_.BracketState(99), -2);
  EXPECT_GE(view_.repainted.size(), 20u);
  // Painting far below computes on demand.
  store_.UpdateBrackets(99, false);
  EXPECT_EQ(store_.BracketState(99), 0);
  // Closing the comment brings the rows back.
  store_.ReplaceRows(5, 1, "*/\r\n");
  EXPECT_EQ(store_.BracketState(5), 0);
  EXPECT_EQ(store_.BracketState(6), -1);
}

TEST_F(TEditorScreenStringsTest, EmptyStoreBrackets) {
  store_.InitBrackets();
  EXPECT_EQ(store_.UpdateBrackets(0, true), 0);
}

TEST_F(TEditorScreenStringsTest, UndoRestoresTextAndCaretStepByStep) {
  SetText("ab\r\n");
  std::vector<std::pair<int, int>> carets;
  for (char c : {'x', 'y', 'z'}) {
    carets.push_back({view_.caretRow, view_.caretCol});
    std::string row = store_.GetString(0);
    store_.ReplaceRows(0, 1, row + c + "\r\n");
    view_.caretCol += 1;
  }
  EXPECT_EQ(store_.GetText(), "abxyz\r\n");
  EXPECT_EQ(store_.UndoObj().UndoList().size(), 3u);
  for (int i = 2; i >= 0; --i) {
    store_.Undo();
    EXPECT_EQ(view_.caretRow, carets[static_cast<size_t>(i)].first);
    EXPECT_EQ(view_.caretCol, carets[static_cast<size_t>(i)].second);
  }
  EXPECT_EQ(store_.GetText(), "ab\r\n");
  store_.Redo();
  EXPECT_EQ(store_.GetText(), "abx\r\n");
  // A new change empties the redo list.
  store_.ReplaceRows(0, 1, "q\r\n");
  EXPECT_FALSE(store_.UndoObj().CanRedo());
  EXPECT_EQ(view_.hidden, 0) << "every hidden caret is shown again";
}

TEST_F(TEditorScreenStringsTest, UndoOfAJoinSplitsTheLinesAgain) {
  store_.WrapOption().SetWrapByte(20);
  store_.SetWordWrap(true);
  SetText("abc\r\n" + std::string(30, 'd'));
  V before = Rows(store_);
  store_.ReplaceRows(0, 1, "abc");  // the line break goes
  EXPECT_EQ(store_.LineCount(), 1);
  store_.Undo();
  EXPECT_EQ(Rows(store_), before);
  store_.Redo();
  EXPECT_EQ(store_.GetText(), "abc" + std::string(30, 'd'));
}

TEST_F(TEditorScreenStringsTest, UndoListKeepsTheNewestRecords) {
  SetText("a\r\n");
  EXPECT_EQ(store_.UndoObj().UndoListMax(), 64);
  store_.UndoObj().SetUndoListMax(10);
  EXPECT_EQ(store_.UndoObj().UndoListMax(), 64);
  for (int i = 0; i < 70; ++i) store_.ReplaceRows(0, 1, std::to_string(i) + "\r\n");
  int undone = 0;
  while (store_.UndoObj().CanUndo()) {
    store_.Undo();
    ++undone;
  }
  EXPECT_EQ(undone, 64);
  EXPECT_EQ(store_.GetText(), "5\r\n");
}

TEST_F(TEditorScreenStringsTest, LoadingAndClearEmptyBothLists) {
  SetText("a\r\n");
  store_.ReplaceRows(0, 1, "b\r\n");
  store_.ReplaceRows(0, 1, "c\r\n");
  store_.Undo();
  SetText("d\r\n");
  EXPECT_FALSE(store_.UndoObj().CanUndo());
  EXPECT_FALSE(store_.UndoObj().CanRedo());
}

// Random edits against a plain string of the whole text, with wrap on and off,
// then every change undone to the start and redone to the end.
// A text taken over whole gives the rows a stream load followed by the wrap
// gives, and its rows stay good while edits replace them one by one.
TEST_F(TEditorScreenStringsTest, ATextTakenOverLoadsAsTheStreamDoes) {
  const std::string longLine = std::string(45, 'a') + "\x81\x42" + std::string(30, 'b') + "\t" + std::string(12, 'c');
  const std::string texts[] = {"",
                               "one",
                               "one\r\n",
                               "one\r\ntwo\ntree\rfour",
                               "\r\n\r\n",
                               "\r\r\n\n",
                               "tail\x1A\x1A",
                               "\x1A",
                               longLine + "\r\n" + longLine,
                               longLine + "\n",
                               std::string(40, 'x') + "\r\n",
                               // Breaks of each kind at every place in a block of sixteen bytes.
                               [] {
                                 std::string text;
                                 for (int k = 0; k < 50; ++k) {
                                   const char* brk = k % 3 == 0 ? "\r\n" : k % 3 == 1 ? "\r" : "\n";
                                   text += std::string(static_cast<size_t>(k), 'q') + brk;
                                 }
                                 return text;
                               }()};
  for (bool wrap : {false, true}) {
    for (const std::string& text : texts) {
      store_.WrapOption().SetWrapByte(20);
      store_.SetWordWrap(wrap);
      SetText(text);
      TEditorScreenStrings adopted;
      FakeEditorView view{adopted};
      adopted.WrapOption().SetWrapByte(20);
      adopted.SetWordWrap(wrap);
      adopted.LoadText(std::string(text));
      ASSERT_EQ(Rows(adopted), Rows(store_)) << "wrap " << wrap << " [" << text << "]";
      // Each row rewritten with its own text: the taken-over block is let go
      // row by row, and the text stays the same throughout.
      const std::string expected = store_.GetText();
      for (int row = 0; row < adopted.Count(); ++row) {
        std::string same(adopted.Get(row));
        if (adopted.RowAttribute(row) == raCrlf) same += "\r\n";
        adopted.ReplaceRows(row, 1, same);
      }
      ASSERT_EQ(adopted.GetText(), expected) << "wrap " << wrap << " [" << text << "]";
    }
  }
}

TEST_F(TEditorScreenStringsTest, RandomEditsMatchAPlainTextModel) {
  const char* seedEnv = std::getenv("KERV_RANDOM_SEED");
  std::mt19937 random(seedEnv ? static_cast<unsigned>(std::atoi(seedEnv)) : 424242u);
  store_.UndoObj().SetUndoListMax(100000);
  const std::string pieces[] = {"a", "bb", " ", "\t", "\x82\xA0", "\x81\x42", "\r\n", "xyz\r\n\r\n", "(", "\x81\x76"};
  auto randomText = [&](int maxPieces) {
    std::string text;
    int n = static_cast<int>(random() % static_cast<unsigned>(maxPieces + 1));
    for (int i = 0; i < n; ++i) text += pieces[random() % 10];
    return text;
  };
  std::string model = "start\r\n";
  SetText(model);
  std::vector<std::string> history{model};
  std::vector<std::pair<int, int>> carets;
  // Byte offset of the start of row, counting CR LF after raCrlf rows.
  auto offsetOf = [&](int row) {
    size_t offset = 0;
    for (int r = 0; r < row; ++r) offset += store_.Get(r).size() + (store_.RowAttribute(r) == raCrlf ? 2 : 0);
    return offset;
  };
  // KERV_RANDOM_STEPS runs it longer on demand.
  const char* stepsEnv = std::getenv("KERV_RANDOM_STEPS");
  const int steps = stepsEnv ? std::atoi(stepsEnv) : 3000;
  for (int step = 0; step < steps; ++step) {
    if (step % 150 == 0) {
      store_.WrapOption().SetWrapByte(20 + static_cast<int>(random() % 40));
      store_.WrapOption().SetLeading(random() % 2);
      store_.WrapOption().SetFollowPunctuation(random() % 2);
      store_.WrapOption().SetWordBreak(random() % 2);
      store_.SetWordWrap(random() % 2);
      // A rewrap forgets what it could undo; without one, start afresh all the same.
      store_.UndoObj().Clear();
      history.assign(1, model);
      carets.clear();
      ASSERT_EQ(store_.GetText(), model);
    }
    int rows = store_.Count();
    bool endOpen = rows == 0 || store_.RowAttribute(rows - 1) == raCrlf;
    int row = static_cast<int>(random() % static_cast<unsigned>(rows + (endOpen ? 1 : 0)));
    int count = row >= rows ? 0 : static_cast<int>(random() % static_cast<unsigned>(std::min(4, rows - row) + 1));
    std::string text = randomText(4);
    if (count == 0 && text.empty()) continue;
    size_t from = offsetOf(row);
    size_t to = offsetOf(row + count);
    view_.caretRow = static_cast<int>(random() % static_cast<unsigned>(rows + 1));
    view_.caretCol = static_cast<int>(random() % 10);
    carets.push_back({view_.caretRow, view_.caretCol});
    store_.ReplaceRows(row, count, text);
    model = model.substr(0, from) + text + model.substr(to);
    history.push_back(model);
    ASSERT_EQ(store_.GetText(), model) << "step " << step << ": rows " << row << "+" << count << " by [" << text << "]";
    // No row holds a line break and only the last row may be raEof.
    for (int r = 0; r < store_.Count(); ++r) {
      ASSERT_EQ(store_.Get(r).find_first_of("\r\n"), std::string_view::npos);
      if (r + 1 < store_.Count()) {
        ASSERT_NE(store_.RowAttribute(r), raEof) << "step " << step;
      }
    }
  }
  // Back to the last rewrap, checking every step on the way, then forward again.
  for (size_t i = history.size() - 1; i > 0; --i) {
    ASSERT_TRUE(store_.UndoObj().CanUndo());
    store_.Undo();
    ASSERT_EQ(store_.GetText(), history[i - 1]);
    ASSERT_EQ(view_.caretRow, carets[i - 1].first);
    ASSERT_EQ(view_.caretCol, carets[i - 1].second);
  }
  EXPECT_FALSE(store_.UndoObj().CanUndo());
  for (size_t i = 1; i < history.size(); ++i) {
    store_.Redo();
    ASSERT_EQ(store_.GetText(), history[i]);
  }
  EXPECT_FALSE(store_.UndoObj().CanRedo());
}

TEST_F(TEditorScreenStringsTest, TakingOverABigTextTellsHowFarItHasCome) {
  std::string text;
  while (text.size() < (size_t{20} << 20)) text += "a line of some length\r\n";
  std::vector<int> seen;
  TEditorScreenStrings adopted;
  FakeEditorView view{adopted};
  adopted.SetAdoptProgress([&seen](int permille) {
    seen.push_back(permille);
    return true;
  });
  EXPECT_TRUE(adopted.LoadText(std::string(text)));
  EXPECT_EQ(adopted.GetText(), text);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen.front(), 0);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_LT(seen.back(), 1000);

  // Given up halfway, with and without word wrap: the rows were made beside
  // the old ones, which stay with their undo steps.
  for (bool wrap : {false, true}) {
    adopted.SetAdoptProgress({});
    adopted.SetWordWrap(wrap);
    adopted.LoadText("old\r\nlines");
    adopted.ReplaceRows(0, 1, "older\r\n");
    adopted.SetAdoptProgress([](int permille) { return permille < 500; });
    EXPECT_FALSE(adopted.LoadText(std::string(text)));
    EXPECT_EQ(adopted.GetText(), "older\r\nlines");
    EXPECT_TRUE(adopted.UndoObj().CanUndo());
  }
}

}  // namespace
}  // namespace kerv
