#include "editor/TEditorStrings.h"

#include <gtest/gtest.h>

#include "tests/editor/textengine/FakeEditorView.h"
#include "tests/editor/textengine/RowsTestSupport.h"

namespace kerv {
namespace {

using testing::FakeEditorView;
using testing::Rows;
using V = std::vector<std::string>;

class TEditorStringsTest : public ::testing::Test {
 protected:
  TEditorScreenStrings store_;
  FakeEditorView view_{store_};
  TEditorStrings lines_{view_};
};

TEST_F(TEditorStringsTest, AddGivesTheFormerLastLineABreak) {
  lines_.SetTextStr("a");
  EXPECT_EQ(Rows(store_), V{"a|c"});
  EXPECT_EQ(lines_.Add("x"), 1);
  EXPECT_EQ(Rows(store_), (V{"a|c", "x|c"}));

  const std::string bytes = "a";
  TMemoryStream stream(bytes);
  lines_.LoadFromStream(stream);
  EXPECT_EQ(Rows(store_), V{"a|e"});
  EXPECT_EQ(lines_.Add("x"), 1);
  EXPECT_EQ(Rows(store_), (V{"a|c", "x|e"}));
  EXPECT_EQ(lines_.GetTextStr(), "a\r\nx");
}

TEST_F(TEditorStringsTest, UndoOfAddOnAnEmptyDocumentEmptiesIt) {
  lines_.Add("first");
  EXPECT_EQ(Rows(store_), V{"first|c"});
  store_.Undo();
  EXPECT_EQ(store_.Count(), 0);
}

TEST_F(TEditorStringsTest, WrappedLineIsOneLine) {
  store_.WrapOption().SetWrapByte(20);
  store_.SetWordWrap(true);
  lines_.SetTextStr(std::string(50, 'w') + "\r\nend");
  ASSERT_EQ(store_.Count(), 4);
  EXPECT_EQ(lines_.GetCount(), 2);
  EXPECT_EQ(lines_.Get(0), std::string(50, 'w'));
  lines_.Put(0, "short");
  EXPECT_EQ(Rows(store_), (V{"short|c", "end|c"}));
  EXPECT_EQ(view_.caretRow, 1) << "the caret goes after the new text and its break";
  EXPECT_EQ(view_.caretCol, 0);
}

TEST_F(TEditorStringsTest, InsertDeleteAndTheirCaret) {
  lines_.SetTextStr("a\r\nb\r\nc");
  lines_.Insert(1, "new");
  EXPECT_EQ(lines_.GetTextStr(), "a\r\nnew\r\nb\r\nc\r\n");
  EXPECT_EQ(view_.caretRow, 2);
  lines_.Insert(lines_.GetCount(), "last");
  EXPECT_EQ(lines_.Get(lines_.GetCount() - 1), "last");
  lines_.Delete(0);
  EXPECT_EQ(lines_.Get(0), "new");
  EXPECT_EQ(view_.caretRow, 0);
  EXPECT_EQ(view_.caretCol, 0);
}

TEST_F(TEditorStringsTest, BadIndexesRaiseAndLeaveTheText) {
  lines_.SetTextStr("a\r\nb");
  EXPECT_THROW(lines_.Get(2), EListError);
  EXPECT_THROW(lines_.Put(-1, "x"), EListError);
  EXPECT_THROW(lines_.Delete(5), EListError);
  EXPECT_THROW(lines_.Insert(4, "x"), EListError);
  EXPECT_EQ(lines_.GetTextStr(), "a\r\nb\r\n");
  EXPECT_EQ(view_.hidden, 0);
}

TEST_F(TEditorStringsTest, AssignPutsTheCaretAfterTheText) {
  TEditorScreenStrings otherStore;
  FakeEditorView otherView(otherStore);
  TEditorStrings other(otherView);
  other.SetTextStr("p\r\nq\r\nr");
  view_.caretCol = 7;
  lines_.Assign(other);
  EXPECT_EQ(lines_.GetTextStr(), "p\r\nq\r\nr\r\n");
  EXPECT_EQ(view_.caretRow, 3);
  EXPECT_EQ(view_.caretCol, 0);
}

TEST_F(TEditorStringsTest, SharedStoreReachesEveryViewAndLivesWithTheLast) {
  auto* shared = new TEditorScreenStrings;
  auto first = std::make_unique<FakeEditorView>(*shared);
  auto second = std::make_unique<FakeEditorView>(*shared);
  shared->ReplaceRows(0, 0, "x\r\n");
  EXPECT_EQ(first->rowsChanged, 1);
  EXPECT_EQ(second->rowsChanged, 1);
  EXPECT_EQ(shared->Owner(), first.get());
  second->focused = true;
  EXPECT_EQ(shared->ActiveEditor(), second.get());
  EXPECT_FALSE(shared->UnregisterView(first.get()));
  first.reset();
  EXPECT_EQ(shared->Owner(), second.get()) << "the next view owns the store";
  EXPECT_TRUE(shared->UnregisterView(second.get())) << "the last view out frees the store";
  second.reset();
  delete shared;
}

}  // namespace
}  // namespace kerv
