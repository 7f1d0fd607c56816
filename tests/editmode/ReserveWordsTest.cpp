#include "editmode/ReserveWords.h"

#include <gtest/gtest.h>

#include "editor/TEditorPaintPlan.h"
#include "platform/fake/FakeFileSystem.h"

namespace kerv {
namespace {

TEST(ReserveWordsTest, LevelsFollowTheBitTable) {
  struct Case {
    int bits;
    int level;
  } cases[] = {{0x000, 1}, {0x080, 2}, {0x100, 3}, {0x200, 4}, {0x400, 5}, {0x800, 6},
               {0x880, 7}, {0x900, 8}, {0xA00, 9}, {0xC00, 10}, {0x884, 7}, {0x00F, 1}};
  for (const Case& c : cases) {
    EXPECT_EQ(WordLevel(c.bits), c.level) << std::hex << c.bits;
    EXPECT_EQ(LevelOptionBits(c.level), c.bits & WordOption::LevelBits) << c.level;
  }
  EXPECT_EQ(LevelOptionBits(0), 0);
  EXPECT_EQ(LevelOptionBits(11), 0xC00);
  EXPECT_EQ(WithLevel(0x885, 3), 0x105);
}

TEST(ReserveWordsTest, TheWordListShowsTheLevelThePainterPaints) {
  for (int options = 0; options <= 0xFFF; ++options) {
    int level = WordLevel(options);
    EXPECT_EQ(ReserveWordEmphasisKind(options), level <= 5 ? level : level + 2) << std::hex << options;
    EXPECT_EQ(WordLevel(NormalizeWordOptions(options)), WordLevel(options)) << std::hex << options;
  }
}

TEST(ReserveWordsTest, NormalizeKeepsOneLevelAndTheDefinedBits) {
  EXPECT_EQ(NormalizeWordOptions(0x0884), 0x0884);
  EXPECT_EQ(NormalizeWordOptions(0x0180), 0x0080);
  EXPECT_EQ(NormalizeWordOptions(0xF070), 0);
  EXPECT_EQ(NormalizeWordOptions(-1), 0x088F);
}

TEST(ReserveWordsTest, MethodAndLevelTexts) {
  struct Case {
    int bits;
    const char* method;
  } cases[] = {{0x0, "条件なし"}, {0x1, "大小区別"}, {0x2, "単語単位"}, {0x3, "大小区別, 単語単位"},
               {0x7, "正規表現"}, {0xC, "正規表現, あいまい検索"}, {0x8, "条件なし"}};
  for (const Case& c : cases) EXPECT_EQ(WordMethodText(c.bits), c.method) << c.bits;
  EXPECT_EQ(WordLevelText(0x884), "レベル7");
}

TEST(ReserveWordsTest, OnlyRegularExpressionsThatDoNotCompileHaveAnError) {
  EXPECT_FALSE(WordCompileError({"(a", 0}));
  EXPECT_FALSE(WordCompileError({"^#+ .*", WordOption::RegExp}));
  EXPECT_TRUE(WordCompileError({"(a", WordOption::RegExp}));
  EXPECT_TRUE(WordCompileError({"[a", WordOption::RegExp | WordOption::Fuzzy}));
}

TEST(ReserveWordsTest, MovingSelectedEntriesKeepsTheirOrder) {
  struct Case {
    std::vector<int> selected;
    TMoveDirection direction;
    std::vector<int> order;
  } cases[] = {
      {{2}, TMoveDirection::Up, {0, 2, 1, 3, 4}},
      {{0, 1}, TMoveDirection::Up, {0, 1, 2, 3, 4}},
      {{0, 2}, TMoveDirection::Up, {0, 2, 1, 3, 4}},
      {{1, 3}, TMoveDirection::Down, {0, 2, 1, 4, 3}},
      {{3, 4}, TMoveDirection::Down, {0, 1, 2, 3, 4}},
      {{1, 3}, TMoveDirection::Top, {1, 3, 0, 2, 4}},
      {{0, 2}, TMoveDirection::Bottom, {1, 3, 4, 0, 2}},
      {{7}, TMoveDirection::Up, {0, 1, 2, 3, 4}},
  };
  for (const Case& c : cases) EXPECT_EQ(MovedOrder(5, c.selected, c.direction), c.order);

  TEditorWordList words = {{"a", 0}, {"b", 1}, {"c", 2}};
  EXPECT_EQ(MoveWords(words, {2}, TMoveDirection::Top), std::vector<int>{0});
  EXPECT_EQ(words, (TEditorWordList{{"c", 2}, {"a", 0}, {"b", 1}}));
}

TEST(ReserveWordsTest, SortingByLevelAndByMethodIsStable) {
  TEditorWordList words = {{"a", 0x001}, {"b", 0xC00}, {"c", 0x082}, {"d", 0x000}, {"e", 0x800}};
  SortWordsByLevel(words);
  EXPECT_EQ(words, (TEditorWordList{{"b", 0xC00}, {"e", 0x800}, {"c", 0x082}, {"a", 0x001}, {"d", 0x000}}));
  SortWordsByMethod(words);
  EXPECT_EQ(words, (TEditorWordList{{"b", 0xC00}, {"e", 0x800}, {"d", 0x000}, {"a", 0x001}, {"c", 0x082}}));
}

TEST(ReserveWordsTest, WordListFilesHoldOneWordPerLine) {
  FakeFileSystem fs;
  ExportWordList(fs, "/tmp/w.txt", {{"if", 3}, {"\x95\x5c", 0x884}});
  EXPECT_EQ(fs.Contents("/tmp/w.txt"), "if\r\n\x95\x5c\r\n");
  fs.AddFile("/tmp/in.txt", "one\r\n\r\ntwo\nthree\rfour");
  TEditorWordList words = {{"kept", 2}};
  EXPECT_EQ(ImportWordList(fs, "/tmp/in.txt", words), 4);
  EXPECT_EQ(words, (TEditorWordList{{"kept", 2}, {"one", 0}, {"two", 0}, {"three", 0}, {"four", 0}}));
  // A zero byte ends its line's word only.
  fs.AddFile("/tmp/nul.txt", std::string("a\0x\r\n\0\r\nb", 9));
  TEditorWordList cut;
  EXPECT_EQ(ImportWordList(fs, "/tmp/nul.txt", cut), 2);
  EXPECT_EQ(cut, (TEditorWordList{{"a", 0}, {"b", 0}}));
  EXPECT_THROW(ImportWordList(fs, "/tmp/none.txt", words), EFileError);
}

}  // namespace
}  // namespace kerv
