#include "editor/TEditorPaintPlan.h"

#include <gtest/gtest.h>

#include "editor/TEditor.h"
#include "tests/editor/control/FakeEditorWindow.h"

namespace kerv {
namespace {

using testing::FakeEditorWindow;

class TEditorPaintPlanTest : public ::testing::Test {
 protected:
  void Load(const std::string& text) {
    TMemoryStream stream(text);
    editor_.Lines().LoadFromStream(stream);
  }
  TEditorWordList Words(std::initializer_list<std::pair<const char*, int>> words) {
    TEditorWordList list;
    for (auto [text, options] : words) list.push_back({text, options});
    return list;
  }

  FakeEditorWindow window_;
  TEditor editor_{&window_};
  TEditorPaintPlanner planner_{editor_};
};

TEST_F(TEditorPaintPlanTest, LeftbarNumbers) {
  Load("a\r\nb\r\nc\r\n");
  editor_.Leftbar().SetVisible(true);
  struct Case {
    bool zeroBase;
    bool zeroLead;
    int row;
    const char* expected;
  } cases[] = {
      {false, false, 0, "   1"}, {true, false, 0, "   0"}, {false, true, 0, "0001"}, {true, true, 0, "0000"},
      {false, false, 3, "   4"},  // the empty line after the final line break
      {false, false, 4, ""},
  };
  for (const Case& c : cases) {
    editor_.Leftbar().SetZeroBase(c.zeroBase);
    editor_.Leftbar().SetZeroLead(c.zeroLead);
    EXPECT_EQ(planner_.LeftbarNumber(c.row), c.expected) << c.row << c.zeroBase << c.zeroLead;
  }
  Load("a\r\nb");
  editor_.Leftbar().SetZeroBase(false);
  editor_.Leftbar().SetZeroLead(false);
  EXPECT_EQ(planner_.LeftbarNumber(2), "");
}

TEST_F(TEditorPaintPlanTest, LeftbarNumbersLinesOnlyOnTheirFirstRow) {
  editor_.Leftbar().SetVisible(true);
  editor_.Leftbar().SetShowNumberMode(nmLine);
  editor_.WrapOption().SetWrapByte(20);
  editor_.SetWordWrap(true);
  Load(std::string(30, 'a') + "\r\nb\r\n");
  ASSERT_EQ(editor_.RowCount(), 3);
  EXPECT_EQ(planner_.LeftbarNumber(0), "   1");
  EXPECT_EQ(planner_.LeftbarNumber(1), "");
  EXPECT_EQ(planner_.LeftbarNumber(2), "   2");
  EXPECT_EQ(planner_.LeftbarNumber(3), "   3");
}

TEST_F(TEditorPaintPlanTest, EndOfFileMarkFollowsTheLastLine) {
  editor_.Marks().EofMark().SetVisible(true);
  editor_.Marks().RetMark().SetVisible(true);
  Load("ab\r\n");
  EXPECT_EQ(planner_.PlanRow(0).endMark, remRet);
  EXPECT_TRUE(planner_.PlanRow(1).eofMarkAtStart);
  Load("ab");
  EXPECT_EQ(planner_.PlanRow(0).endMark, remEof);
  EXPECT_FALSE(planner_.PlanRow(1).eofMarkAtStart);
  Load("");
  EXPECT_TRUE(planner_.PlanRow(0).eofMarkAtStart);
}

TEST_F(TEditorPaintPlanTest, EmphasisLayers) {
  editor_.View().SetCommenter("//");
  TEditorBracketItem& quote = editor_.View().Brackets().Add();
  quote.SetLeftBracket("<");
  quote.SetRightBracket(">");
  quote.SetShowReserve(false);
  Load("int x; // int y\r\nz <int> int\r\n");
  editor_.SetReserveWordList(Words({{"int", 0}, {"z", 0x0080}}));
  editor_.SetFindString("int", 0);
  struct Case {
    int row;
    int byteIndex;
    unsigned char kind;
  } cases[] = {
      {0, 0, ekFindString},  // the search string is laid over the reserved word
      {0, 10, ekComment},     // no emphasis inside a comment
      {1, 0, 2},              // level 2
      {1, 3, ekFindString},   // a search hit inside a bracket pair without ShowReserve stays
      {1, 2, ekBracket},
  };
  for (const Case& c : cases) {
    TRowPaintPlan plan = planner_.PlanRow(c.row);
    EXPECT_EQ(plan.emphasis[c.byteIndex], c.kind) << c.row << ":" << c.byteIndex;
  }
  const TEditorColors& colors = editor_.View().Colors();
  TRowPaintPlan plan = planner_.PlanRow(1);
  EXPECT_EQ(plan.cells[0].color, colors.Item(ceStress2).Color());
  EXPECT_EQ(plan.cells[3].bkColor, colors.Item(ceFindStr).BkColor());
}

TEST_F(TEditorPaintPlanTest, ReserveWordLevels) {
  struct Case {
    int options;
    int level;
    int kind;
    int flags;
  } cases[] = {
      {0x0000, 1, 1, 0x0001},  {0x0080, 2, 2, 0x0001},  {0x0400, 5, 5, 0x0001},     {0x0800, 6, 8, 0x0001},
      {0x0880, 7, 9, 0x0001},  {0x0884, 7, 9, 0x0401},  {0x0C00, 10, 12, 0x0001},   {0x0003, 1, 1, 0x0007},
      {0x000C, 1, 1, 0x0C01},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WordLevel(c.options), c.level) << std::hex << c.options;
    EXPECT_EQ(ReserveWordEmphasisKind(c.options), c.kind) << std::hex << c.options;
    EXPECT_EQ(ReserveWordSearchFlags(c.options), c.flags) << std::hex << c.options;
  }
}

TEST_F(TEditorPaintPlanTest, ABadRegularExpressionIsBlankedAndReportedNotThrown) {
  Load("abc\r\n");
  editor_.SetReserveWordList(Words({{"a(", 0x0004}, {"b", 0}}));
  TRowPaintPlan plan;
  EXPECT_NO_THROW(plan = planner_.PlanRow(0));
  ASSERT_EQ(planner_.Errors().size(), 1u);
  EXPECT_EQ(planner_.Errors()[0].word, "a(");
  EXPECT_EQ(editor_.ReserveWordList()[0].text, "");
  EXPECT_EQ(plan.emphasis[1], 1);
  planner_.ClearErrors();
  planner_.PlanRow(0);
  EXPECT_TRUE(planner_.Errors().empty());
}

TEST_F(TEditorPaintPlanTest, RegularExpressionWordsMarkEveryMatch) {
  Load("ab1 ab22 x\r\n");
  editor_.SetReserveWordList(Words({{"ab[0-9]+", 0x0004}}));
  TRowPaintPlan plan = planner_.PlanRow(0);
  std::string kinds;
  for (unsigned char kind : plan.emphasis) kinds += static_cast<char>('0' + kind);
  EXPECT_EQ(kinds, "1110111100");
}

TEST_F(TEditorPaintPlanTest, SelectedCellsTakeTheSelectionColours) {
  Load("abcd\r\nefgh\r\n");
  editor_.SetCol(1);
  editor_.StartSelection();
  editor_.SetRow(1);
  editor_.SetCol(2);
  editor_.ExtendSelection();
  const TEditorColor& select = editor_.View().Colors().Item(ceSelect);
  TRowPaintPlan first = planner_.PlanRow(0);
  EXPECT_NE(first.cells[0].bkColor, select.BkColor());
  EXPECT_EQ(first.cells[1].bkColor, select.BkColor());
  EXPECT_GT(first.selRightCol, 4);  // runs on past the text
  EXPECT_TRUE(first.endMarkSelected || !editor_.Marks().RetMark().Visible());
  TRowPaintPlan second = planner_.PlanRow(1);
  EXPECT_EQ(second.cells[1].bkColor, select.BkColor());
  EXPECT_NE(second.cells[2].bkColor, select.BkColor());
}

TEST_F(TEditorPaintPlanTest, WrappedRowsAreClassifiedWithTheirNeighbours) {
  editor_.WrapOption().SetWrapByte(20);
  editor_.SetWordWrap(true);
  editor_.View().SetQuotation("\"");
  Load(std::string(18, 'x') + " \"abcdefgh\" y\r\n");
  ASSERT_GE(editor_.RowCount(), 2);
  // The string starts on the first row and goes on at the second's start.
  TRowPaintPlan second = planner_.PlanRow(1);
  EXPECT_EQ(second.cells[0].color, editor_.View().Colors().Item(ceStr).Color());
}

}  // namespace
}  // namespace kerv
