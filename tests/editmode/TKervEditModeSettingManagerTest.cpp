#include "editmode/TKervEditModeSettingManager.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include "EditModeTestSupport.h"
#include "editmode/EditModeMessages.h"
#include "editmode/TEditModeFile.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"
#include "platform/posix/PosixFileSystem.h"

namespace kerv {
namespace {

using test::Sjis;

const std::string kFolder = "/home/user/.config/kerv/";
const std::string kDefaultFile = kFolder + "\xE3\x83\x87\xE3\x83\x95\xE3\x82\xA9\xE3\x83\xAB\xE3\x83\x88.em2";

std::string ModeWithAuthor(const std::string& author) {
  TEditorPropEx set;
  set.SetAuthor(author);
  return TEditModeFile::Write(set);
}

std::string AuthorOf(const std::string& text) {
  TEditorPropEx set;
  return TEditModeFile::Read(text, set) ? set.Author() : "<not a mode>";
}

class TKervEditModeSettingManagerTest : public testing::Test {
 protected:
  TKervEditModeSettingManagerTest() {
    fs_.AddFolder("/home/user/.config/kerv");
    fs_.AddFile(kFolder + "A.em2", ModeWithAuthor("a"));
    fs_.AddFile(kFolder + "B.em2", ModeWithAuthor("b"));
    fs_.AddFile(kFolder + "editmode.ini", "a=A\r\nb=B\r\ngone=Gone\r\n");
    dialog_.Open("A");
    user_.shown.clear();
  }
  std::string Shown(TEditModeMessage id) { return "error: " + EditModeMessage(id); }
  std::string Author(const std::string& name) { return AuthorOf(fs_.Contents(kFolder + name + ".em2")); }

  FakeFileSystem fs_;
  IconvCodePage codePage_;
  test::ScriptedUser user_;
  TKervEditModeSettingManager dialog_{fs_, codePage_, user_, kFolder};
};

TEST_F(TKervEditModeSettingManagerTest, OpeningWritesTheDefaultModeAndKeepsUsableAssociations) {
  EXPECT_TRUE(fs_.FileExists(kDefaultFile));
  EXPECT_EQ(dialog_.ModeList(), (std::vector<std::string>{kDefaultModeName, "A", "B"}));
  EXPECT_EQ(dialog_.AssociableModes(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(dialog_.DialogAssociations().Text(), "a=A\r\nb=B\r\n");
  EXPECT_EQ(dialog_.Selected(), "A");
  EXPECT_EQ(dialog_.SelectedSet().Author(), "a");
}

TEST_F(TKervEditModeSettingManagerTest, SelectingAModeThatCannotLoadKeepsTheSelection) {
  fs_.AddFile(kFolder + "Bad.em2", "junk");
  fs_.RemoveFile(kFolder + "B.em2");
  EXPECT_FALSE(dialog_.Select("B"));
  EXPECT_FALSE(dialog_.Select("Bad"));
  EXPECT_EQ(dialog_.Selected(), "A");
  EXPECT_EQ(user_.shown, (std::vector<std::string>{"code 11011: B", "code 11012: Bad"}));
}

TEST_F(TKervEditModeSettingManagerTest, NewMode) {
  const size_t files = fs_.FileCount();
  EXPECT_FALSE(dialog_.NewMode(""));  // an empty name does nothing, as Copy and Rename
  EXPECT_EQ(fs_.FileCount(), files);
  EXPECT_TRUE(user_.shown.empty());
  EXPECT_FALSE(dialog_.NewMode("A"));
  EXPECT_FALSE(dialog_.NewMode(kDefaultModeName));
  EXPECT_FALSE(dialog_.NewMode("x<y"));
  EXPECT_EQ(user_.shown.size(), 3u);
  EXPECT_EQ(user_.shown[0], Shown(TEditModeMessage::AlreadyExists));
  EXPECT_EQ(user_.shown[2].rfind("refused: ", 0), 0u);

  EXPECT_TRUE(dialog_.NewMode(Sjis("表")));
  EXPECT_EQ(dialog_.Selected(), Sjis("表"));
  EXPECT_EQ(dialog_.ModeList().back(), Sjis("表"));
  TEditorPropEx written;
  ASSERT_TRUE(written.LoadFromFile(fs_, kFolder + "\xE8\xA1\xA8.em2"));
  EXPECT_EQ(written.SpaceIndentSize(), 2);  // the factory settings
}

TEST_F(TKervEditModeSettingManagerTest, CopyModeWritesTheDialogsCurrentSettings) {
  EXPECT_EQ(dialog_.ProposedCopyName(), "A" + Sjis("のコピー"));
  dialog_.SelectedSet().SetAuthor("edited");
  EXPECT_FALSE(dialog_.CopyMode(""));
  EXPECT_FALSE(dialog_.CopyMode("A"));
  user_.answers = {false};
  EXPECT_FALSE(dialog_.CopyMode("B"));
  EXPECT_EQ(Author("B"), "b");
  EXPECT_TRUE(dialog_.CopyMode("B"));  // Yes: overwritten
  EXPECT_EQ(Author("B"), "edited");
  EXPECT_EQ(user_.shown, std::vector<std::string>(2, "ask: " + EditModeMessage(TEditModeMessage::OverwriteQuestion)));
  EXPECT_EQ(dialog_.Selected(), "B");
  ASSERT_TRUE(dialog_.Commit());
  EXPECT_EQ(Author("B"), "edited");  // an older copy in memory did not win
}

TEST_F(TKervEditModeSettingManagerTest, RenameNeverOverwritesAnotherMode) {
  fs_.AddFile(kFolder + "OnDisk.em2", ModeWithAuthor("disk"));  // not listed: appeared after opening
  EXPECT_FALSE(dialog_.RenameMode("A", "B"));
  EXPECT_FALSE(dialog_.RenameMode("A", "OnDisk"));
  EXPECT_FALSE(dialog_.RenameMode("A", ""));
  EXPECT_FALSE(dialog_.RenameMode("A", "A"));
  EXPECT_EQ(user_.shown, std::vector<std::string>(2, Shown(TEditModeMessage::AlreadyExists)));
  EXPECT_EQ(Author("B"), "b");
  EXPECT_EQ(Author("OnDisk"), "disk");

  fs_.FailWritesTo(kFolder + "C.em2");
  EXPECT_FALSE(dialog_.RenameMode("A", "C"));
  EXPECT_EQ(user_.shown.back(), Shown(TEditModeMessage::RenameFailed));
  EXPECT_EQ(Author("A"), "a");

  dialog_.SelectedSet().SetAuthor("edited");
  EXPECT_TRUE(dialog_.RenameMode("A", "D"));
  EXPECT_FALSE(fs_.FileExists(kFolder + "A.em2"));
  EXPECT_EQ(dialog_.ModeList(), (std::vector<std::string>{kDefaultModeName, "D", "B"}));
  EXPECT_EQ(dialog_.Selected(), "D");
  EXPECT_EQ(dialog_.DialogAssociations().Text(), "a=D\r\nb=B\r\n");
  ASSERT_TRUE(dialog_.Commit());
  EXPECT_EQ(Author("D"), "edited");
  EXPECT_FALSE(fs_.FileExists(kFolder + "A.em2"));
  EXPECT_EQ(fs_.Contents(kFolder + "editmode.ini"), "a=D\r\nb=B\r\n");
}

TEST_F(TKervEditModeSettingManagerTest, DeleteMode) {
  EXPECT_FALSE(dialog_.DeleteMode(kDefaultModeName));
  EXPECT_EQ(user_.shown.back(), Shown(TEditModeMessage::CannotDelete));
  user_.answers = {false};
  EXPECT_FALSE(dialog_.DeleteMode("A"));
  EXPECT_TRUE(fs_.FileExists(kFolder + "A.em2"));
  EXPECT_EQ(user_.shown.back(), "ask: A - この編集モードを削除します。よろしいですか？\r\n"
                                "編集モード定義ファイル(*.em2)も同時に削除され、元に戻すことはできません。");
  EXPECT_TRUE(dialog_.DeleteMode("A"));
  EXPECT_FALSE(fs_.FileExists(kFolder + "A.em2"));
  EXPECT_EQ(dialog_.Selected(), kDefaultModeName);
  EXPECT_EQ(dialog_.DialogAssociations().Text(), "b=B\r\n");
  ASSERT_TRUE(dialog_.Commit());
  EXPECT_FALSE(fs_.FileExists(kFolder + "A.em2"));  // the copy in memory went with it
}

TEST_F(TKervEditModeSettingManagerTest, ImportMode) {
  fs_.AddFolder("/home/user/in");
  fs_.AddFile("/home/user/in/B.em2", ModeWithAuthor("imported"));
  fs_.AddFile("/home/user/in/New.em2", ModeWithAuthor("new"));
  fs_.AddFile("/home/user/in/junk.em2", "junk");
  EXPECT_FALSE(dialog_.ImportMode(kFolder + "A.em2"));  // already in the settings folder
  EXPECT_FALSE(dialog_.ImportMode("/home/user/in/junk.em2"));
  EXPECT_FALSE(dialog_.ImportMode("/home/user/in/none.em2"));
  EXPECT_EQ(user_.shown, (std::vector<std::string>{"code 11012: junk.em2", "code 11012: none.em2"}));
  EXPECT_TRUE(dialog_.ImportMode("/home/user/in/New.em2"));
  EXPECT_EQ(Author("New"), "new");
  EXPECT_EQ(dialog_.Selected(), "New");
  user_.answers = {false};
  EXPECT_FALSE(dialog_.ImportMode("/home/user/in/B.em2"));
  EXPECT_EQ(user_.shown.back(), "ask: B" + EditModeMessage(TEditModeMessage::ImportOverwrite));
  EXPECT_TRUE(dialog_.ImportMode("/home/user/in/B.em2"));
  EXPECT_EQ(Author("B"), "imported");
  EXPECT_EQ(dialog_.ModeList().size(), 4u);
}

TEST_F(TKervEditModeSettingManagerTest, AssociationsNeedAValidExtension) {
  EXPECT_FALSE(dialog_.PutAssociation("", "A"));
  EXPECT_EQ(user_.shown.back(), Shown(TEditModeMessage::EnterExtension));
  EXPECT_FALSE(dialog_.PutAssociation("t*t", "A"));
  EXPECT_EQ(user_.shown.back().rfind("refused: ", 0), 0u);
  EXPECT_TRUE(dialog_.PutAssociation("TXT", "B"));
  EXPECT_TRUE(dialog_.PutAssociation("txt", "A"));
  dialog_.DeleteAssociation("B");
  EXPECT_EQ(dialog_.DialogAssociations().Text(), "a=A\r\nTXT=A\r\n");  // extensions ignore case
}

TEST_F(TKervEditModeSettingManagerTest, CommitReportsAModeThatCannotBeWrittenAndKeepsItsFile) {
  const std::string old = fs_.Contents(kFolder + "A.em2");
  dialog_.SelectedSet().SetAuthor("changed");
  fs_.FailWritesTo(kFolder + "A.em2");
  EXPECT_FALSE(dialog_.Commit());
  EXPECT_EQ(user_.shown, std::vector<std::string>{"code 10053: A.em2"});
  EXPECT_EQ(fs_.Contents(kFolder + "A.em2"), old);
  EXPECT_EQ(fs_.Contents(kFolder + "editmode.ini"), "a=A\r\nb=B\r\n");
}

// The real file system's rename refuses an existing target instead of replacing it.
TEST(PosixRenameNoReplaceTest, RefusesAnExistingTarget) {
  char pattern[] = "/tmp/kerv_editmode_XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::string folder = std::string(pattern) + "/";
  PosixFileSystem fs;
  fs.WriteFile(folder + "a.em2", "a");
  fs.WriteFile(folder + "b.em2", "b");
  EXPECT_FALSE(fs.RenameFileNoReplace(folder + "a.em2", folder + "b.em2"));
  EXPECT_EQ(fs.ReadFile(folder + "b.em2"), "b");
  EXPECT_TRUE(fs.RenameFileNoReplace(folder + "a.em2", folder + "c.em2"));
  EXPECT_FALSE(fs.FileExists(folder + "a.em2"));
  EXPECT_EQ(fs.ReadFile(folder + "c.em2"), "a");
  EXPECT_FALSE(fs.RenameFileNoReplace(folder + "missing", folder + "d.em2"));
  fs.RemoveFile(folder + "b.em2");
  fs.RemoveFile(folder + "c.em2");
  ::rmdir(pattern);
}

}  // namespace
}  // namespace kerv
