// The search-bar histories: order, the limit, duplicates and line breaks.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/TKervSearchHistory.h"
#include "tests/search/SearchTestSupport.h"

namespace kerv {
namespace {

TEST(TKervSearchHistoryTest, NewestFirstWithoutCaseDuplicates) {
  TKervSearchHistory history;
  EXPECT_FALSE(history.Add(""));
  history.Add("abc");
  history.Add("def");
  history.Add("ABC");
  EXPECT_EQ(history.Items(), (std::vector<std::string>{"ABC", "def"}));
  // Double-byte letters are not folded.
  history.Add(test::Sjis("ａ"));
  history.Add(test::Sjis("Ａ"));
  EXPECT_EQ(history.Items().size(), 4u);
}

TEST(TKervSearchHistoryTest, TwentyItemsAtMost) {
  TKervSearchHistory history;
  for (int i = 0; i < 21; ++i) history.Add("w" + std::to_string(i));
  ASSERT_EQ(history.Items().size(), 20u);
  EXPECT_EQ(history.Items().front(), "w20");
  EXPECT_EQ(history.Items().back(), "w1");  // the oldest went
  history.Add("w5");
  EXPECT_EQ(history.Items().size(), 20u);
  EXPECT_EQ(history.Items().front(), "w5");
}

TEST(TKervSearchHistoryTest, MultiLineWordsAreCutAtTheirFirstBreak) {
  TKervSearchHistory history;
  history.Add("first\r\nsecond");
  history.Add("\r\nonly later lines");
  EXPECT_EQ(history.Items(), (std::vector<std::string>{"first"}));
}

TEST(TKervSearchHistoryTest, AssignKeepsOrderAndDropsEmptyItems) {
  TKervSearchHistory history;
  history.Assign({"a", "", "b", "A"});
  EXPECT_EQ(history.Items(), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace kerv
