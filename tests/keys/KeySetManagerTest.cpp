// The editing model of the key page: bindings, conflicts, and the sets'
// life cycle from creation to SaveAll.

#include <gtest/gtest.h>

#include "keys/DefaultKeySet.h"
#include "keys/TKervKeySetManager.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv {
namespace {

constexpr int kFindNext = 44;
constexpr int kFindPrev = 45;
constexpr int kHanToZen = 27;
constexpr TKeySlot kF3{0, 69};
constexpr TKeySlot kF5{0, 71};

class KeySetManagerTest : public ::testing::Test {
 protected:
  KeySetManagerTest() { fs_.AddFolder("/cfg"); }

  void AddSet(const std::string& file, std::initializer_list<TKeyBinding> bindings) {
    TKeyTable table;
    for (const TKeyBinding& binding : bindings) table.Set(binding.slot, binding.action);
    fs_.AddFile(file, "[Info]\r\nType=KervKeySet\r\n[Data]\r\nKeySet=" + table.ToHex() + "\r\n");
  }
  TKeyTable Stored(const std::string& name) {
    TKeyTable table;
    TKervKeySet(fs_, codePage_, "/cfg").LoadSet(name, table);
    return table;
  }

  FakeFileSystem fs_;
  IconvCodePage codePage_;
  TKervKeySetManager manager_{fs_, codePage_, "/cfg"};
};

TEST_F(KeySetManagerTest, AssigningAKeyTakesItFromTheActionThatHadIt) {
  ASSERT_TRUE(manager_.Create("mine"));
  EXPECT_EQ(manager_.ActionAt(kF3), kFindNext);  // the conflict the page shows
  ASSERT_TRUE(manager_.Assign(kFindPrev, kF3));
  EXPECT_EQ(manager_.GetBinding(kFindPrev), kF3);
  EXPECT_FALSE(manager_.GetBinding(kFindNext));
  EXPECT_EQ(manager_.Table().ActionAt({1, 69}), 0);  // Shift+F3 freed by the move
  EXPECT_TRUE(manager_.Modified());

  EXPECT_TRUE(manager_.Release(kFindPrev));
  EXPECT_FALSE(manager_.GetBinding(kFindPrev));
  EXPECT_EQ(manager_.ActionAt(kF3), 0);
  EXPECT_FALSE(manager_.Release(kFindPrev));
  EXPECT_FALSE(manager_.Assign(0, kF3));
  EXPECT_FALSE(manager_.Assign(114, kF3));
  EXPECT_FALSE(manager_.Assign(kFindPrev, {8, 1}));
}

TEST_F(KeySetManagerTest, AnActionBoundTwiceKeepsOnlyItsNewKey) {
  AddSet("/cfg/twice.tks", {{{3, 10}, kFindNext}, {{0, 20}, kFindNext}});
  manager_.Select("twice");
  EXPECT_EQ(manager_.GetBinding(kFindNext), (TKeySlot{3, 10}));  // the later slot
  // Binding it to an early slot must not leave the later one to win on applying.
  ASSERT_TRUE(manager_.Assign(kFindNext, {0, 1}));
  manager_.SaveAll();
  const TActionShortcuts shortcuts = ActionShortcuts(Stored("twice"));
  EXPECT_EQ(shortcuts[kFindNext], ShortcutOfSlot({0, 1}));
}

TEST_F(KeySetManagerTest, EditsAreWrittenOnlyBySaveAllAndSurviveSwitching) {
  ASSERT_TRUE(manager_.Create("mine"));
  ASSERT_TRUE(manager_.Assign(kHanToZen, kF5));
  EXPECT_FALSE(fs_.FileExists("/cfg/mine.tks"));
  manager_.SelectDefault();
  EXPECT_TRUE(manager_.Select("mine").Loaded());
  EXPECT_EQ(manager_.GetBinding(kHanToZen), kF5);  // the edits, not a fresh copy
  EXPECT_TRUE(manager_.IsCached("mine"));
  EXPECT_TRUE(manager_.SaveAll().empty());
  TKervKeySet keySet(fs_, codePage_, "/cfg");
  const TKeySetApplication applied = keySet.Apply("mine");
  EXPECT_EQ(applied.shortcuts[kHanToZen], 116);
  EXPECT_EQ(applied.shortcuts[26], kShortcutCtrl | 'H');
}

TEST_F(KeySetManagerTest, TheBuiltInSetAndADamagedSetCannotBeChanged) {
  EXPECT_EQ(manager_.CurrentName(), kDefaultKeySetName);
  EXPECT_FALSE(manager_.CanEdit());
  EXPECT_FALSE(manager_.Assign(kFindPrev, kF5));
  EXPECT_FALSE(manager_.Rename("other"));
  EXPECT_FALSE(manager_.Delete());

  const std::string damaged = "[Info]\r\nType=KervKeySet\r\n[Data]\r\nKeySet=00FF\r\n";
  fs_.AddFile("/cfg/bad.tks", damaged);
  const TKeySetLoadResult result = manager_.Select("bad");
  EXPECT_EQ(result.status, TKeySetLoadStatus::Damaged);
  EXPECT_FALSE(result.error.empty());
  EXPECT_EQ(manager_.Table(), DefaultKeyTable());
  EXPECT_FALSE(manager_.CanEdit());
  EXPECT_FALSE(manager_.Assign(kFindPrev, kF5));
  EXPECT_TRUE(manager_.SaveAll().empty());
  EXPECT_EQ(fs_.Contents("/cfg/bad.tks"), damaged);
  // The user may still remove it.
  EXPECT_TRUE(manager_.Delete());
  EXPECT_FALSE(fs_.FileExists("/cfg/bad.tks"));
}

TEST_F(KeySetManagerTest, NamesForNewSets) {
  AddSet("/cfg/mine.tks", {});
  AddSet("/cfg/old", {});
  const struct {
    std::string name;
    TKeySetNameProblem problem;
  } cases[] = {
      {"", TKeySetNameProblem::Empty},
      {"mine", TKeySetNameProblem::AlreadyExists},
      {"old", TKeySetNameProblem::AlreadyExists},
      {kDefaultKeySetName, TKeySetNameProblem::AlreadyExists},
      {"a/b", TKeySetNameProblem::InvalidChars},
      {"a\\b", TKeySetNameProblem::InvalidChars},
      {"a;b", TKeySetNameProblem::InvalidChars},
      {"a*", TKeySetNameProblem::InvalidChars},
      {"a?", TKeySetNameProblem::InvalidChars},
      {"\"a\"", TKeySetNameProblem::InvalidChars},
      {"<a>", TKeySetNameProblem::InvalidChars},
      {"a|b", TKeySetNameProblem::InvalidChars},
      {"a\tb", TKeySetNameProblem::InvalidChars},
      {"\x83\x5C", TKeySetNameProblem::None},  // ソ: its trail byte is no backslash
      {"new set", TKeySetNameProblem::None},
  };
  for (const auto& c : cases) EXPECT_EQ(manager_.CheckNewName(c.name), c.problem) << c.name;
  EXPECT_EQ(TKervKeySetManager::NameProblemMessage(TKeySetNameProblem::AlreadyExists),
            "この名前のキーセットは既に存在します。");
  EXPECT_EQ(TKervKeySetManager::NameProblemMessage(TKeySetNameProblem::InvalidChars),
            "次の文字は使えません「 \\ / ; * ? \" < > | 」");
  EXPECT_FALSE(manager_.Create("mine"));
  EXPECT_EQ(manager_.CurrentName(), kDefaultKeySetName);
}

TEST_F(KeySetManagerTest, CreateCopyRenameDelete) {
  AddSet("/cfg/work.tks", {{kF5, kHanToZen}});
  EXPECT_EQ(manager_.SetNames(), (std::vector<std::string>{kDefaultKeySetName, "work"}));

  manager_.Select("work");
  ASSERT_TRUE(manager_.Copy("work2"));
  EXPECT_EQ(manager_.GetBinding(kHanToZen), kF5);
  ASSERT_TRUE(manager_.Create("fresh"));
  EXPECT_EQ(manager_.Table(), DefaultKeyTable());
  EXPECT_EQ(manager_.SetNames(), (std::vector<std::string>{kDefaultKeySetName, "work", "work2", "fresh"}));

  // An unsaved set is renamed in the cache; a stored one on disk.
  ASSERT_TRUE(manager_.Rename("fresh2"));
  EXPECT_TRUE(manager_.IsCached("fresh2"));
  EXPECT_FALSE(manager_.IsCached("fresh"));
  manager_.Select("work");
  EXPECT_FALSE(manager_.Rename("work2"));  // taken by the copy
  ASSERT_TRUE(manager_.Rename("job"));
  EXPECT_FALSE(fs_.FileExists("/cfg/work.tks"));
  EXPECT_TRUE(fs_.FileExists("/cfg/job.tks"));
  EXPECT_EQ(manager_.CurrentName(), "job");

  ASSERT_TRUE(manager_.Delete());
  EXPECT_FALSE(fs_.FileExists("/cfg/job.tks"));
  EXPECT_EQ(manager_.CurrentName(), "");
  manager_.SelectDefault();
  EXPECT_EQ(manager_.CurrentName(), kDefaultKeySetName);

  EXPECT_TRUE(manager_.SaveAll().empty());
  EXPECT_EQ(Stored("work2").ActionAt(kF5), kHanToZen);
  EXPECT_EQ(Stored("fresh2"), DefaultKeyTable());
  EXPECT_FALSE(fs_.FileExists("/cfg/fresh.tks"));
}

TEST_F(KeySetManagerTest, DeletingABareSetRemovesItsFile) {
  AddSet("/cfg/old", {});
  manager_.Select("old");
  ASSERT_TRUE(manager_.Delete());
  EXPECT_FALSE(fs_.FileExists("/cfg/old"));
}

TEST_F(KeySetManagerTest, SaveAllReportsEverySetItCouldNotWrite) {
  ASSERT_TRUE(manager_.Create("a"));
  ASSERT_TRUE(manager_.Create("b"));
  fs_.FailWritesTo("/cfg/a.tks");
  const std::vector<std::string> errors = manager_.SaveAll();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("/cfg/a.tks"), std::string::npos);
  EXPECT_NE(errors[0].find("キーセットファイルの保存に失敗しました。"), std::string::npos);
  EXPECT_TRUE(fs_.FileExists("/cfg/b.tks"));
}

}  // namespace
}  // namespace kerv
