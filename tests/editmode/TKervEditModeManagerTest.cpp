#include "editmode/TKervEditModeManager.h"

#include <gtest/gtest.h>

#include "EditModeTestSupport.h"
#include "document/TIniFile.h"
#include "editmode/EditModeMessages.h"
#include "editmode/TEditModeFile.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv {
namespace {

using test::Sjis;

constexpr const char* kFolder = "/home/user/.config/kerv/";

std::string ModeText(bool wordWrap, int wrapByte = 80) {
  TEditorPropEx set;
  set.SetWordWrap(wordWrap);
  set.WrapOption().SetWrapByte(wrapByte);
  return TEditModeFile::Write(set);
}

class TKervEditModeManagerTest : public testing::Test {
 protected:
  TKervEditModeManagerTest() { fs_.AddFolder("/home/user/.config/kerv"); }

  void AddMode(const std::string& fileName, const std::string& text = ModeText(false)) {
    fs_.AddFile(kFolder + fileName, text);
  }
  void Associate(const std::string& text) {
    fs_.AddFile(std::string(kFolder) + "editmode.ini", text);
    manager_.LoadAssociations();
  }

  FakeFileSystem fs_;
  IconvCodePage codePage_;
  test::ScriptedUser user_;
  TKervEditModeManager manager_{fs_, codePage_, user_, kFolder};
};

TEST_F(TKervEditModeManagerTest, ModeForFileFollowsTheAssociations) {
  AddMode("Text.em2");
  AddMode("C.em2");
  Associate("txt=Text\r\nc=C\r\n");
  struct Case {
    const char* fileName;
    std::string mode;
  } cases[] = {
      {"", kDefaultModeName},          {"a", kDefaultModeName},      {"a.", kDefaultModeName},
      {"X.TXT", "Text"},               {"/p/x.c", "C"},              {"/p/dir.c/file", kDefaultModeName},
      {"x.unknown", kDefaultModeName}, {"/p/.txt", "Text"},          {"a.b.Txt", "Text"},
  };
  for (const Case& c : cases) EXPECT_EQ(manager_.ModeForFile(c.fileName, true), c.mode) << c.fileName;
  EXPECT_TRUE(user_.shown.empty());
}

TEST_F(TKervEditModeManagerTest, AssociationFileLines) {
  Associate("txt=Text\r\nno equal sign\r\n=x\nTXT=Other\rc=C=D");
  const TKervEditModeAssociationList& list = manager_.Associations();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0), (TKervEditModeAssociation{"txt", "Other"}));
  EXPECT_EQ(list.Items(1), (TKervEditModeAssociation{"c", "C=D"}));
  EXPECT_EQ(list.Text(), "txt=Other\r\nc=C=D\r\n");
  manager_.Associations().Put("TXT", "New");
  manager_.Associations().Delete("C");
  EXPECT_EQ(list.Text(), "txt=New\r\n");
}

TEST_F(TKervEditModeManagerTest, ALongAssociationFileKeepsTheRulesOfAShortOne) {
  // 300,000 lines, which a quadratic reader took minutes over: every
  // extension once, then every other one again (in other case) with a new mode.
  std::string text;
  constexpr int kLines = 200000;
  for (int i = 0; i < kLines; ++i) text += "e" + std::to_string(i) + "=M" + std::to_string(i) + "\r\n";
  for (int i = 0; i < kLines; i += 2) text += "E" + std::to_string(i) + "=N\r\n";
  Associate(text);
  const TKervEditModeAssociationList& list = manager_.Associations();
  ASSERT_EQ(list.Count(), kLines);
  EXPECT_EQ(list.ModeOfExt("e0"), "N");
  EXPECT_EQ(list.ModeOfExt("E1"), "M1");
  EXPECT_EQ(list.Items(kLines - 1), (TKervEditModeAssociation{"e199999", "M199999"}));
  manager_.Associations().Delete("e1");
  EXPECT_EQ(list.ModeOfExt("e2"), "N");
  EXPECT_EQ(list.ModeOfExt("e1"), "");
  EXPECT_EQ(list.Count(), kLines - 1);
}

TEST_F(TKervEditModeManagerTest, APipeOrDeviceInPlaceOfASettingsFileIsReportedNotRead) {
  // editmode.ini a FIFO: reported (19005), no associations; a mode file
  // linked to /dev/zero: the mode does not load.
  fs_.AddSpecialFile(std::string(kFolder) + "editmode.ini", TFileKind::Fifo);
  manager_.LoadAssociations();
  EXPECT_EQ(manager_.Associations().Count(), 0);
  EXPECT_EQ(user_.shown, std::vector<std::string>{"code 19005"});

  fs_.RemoveFile(std::string(kFolder) + "editmode.ini");
  fs_.AddSpecialFile(std::string(kFolder) + "Zero.em2", TFileKind::Other);
  Associate("z=Zero\r\n");
  EXPECT_EQ(manager_.ModeForFile("a.z", true), kDefaultModeName);
  EXPECT_FALSE(manager_.LoadMode("Zero"));
  AddMode("Huge.em2", ModeText(false) + std::string(TIniFile::kMaxFileBytes, ';'));
  EXPECT_FALSE(manager_.CanLoad("Huge"));
}

TEST_F(TKervEditModeManagerTest, AMissingOrBrokenModeFallsBackOnceWithItsNotice) {
  AddMode("Broken.em2", "not a mode");
  Associate("md=Gone\r\nxx=Broken\r\ntxt=" + std::string(kDefaultModeName) + "\r\n");
  EXPECT_EQ(manager_.ModeForFile("a.md", true), kDefaultModeName);
  EXPECT_EQ(manager_.ModeForFile("b.md", true), kDefaultModeName);
  EXPECT_EQ(manager_.ModeForFile("c.xx", true), kDefaultModeName);
  // The default mode needs no file.
  EXPECT_EQ(manager_.ModeForFile("d.txt", true), kDefaultModeName);
  EXPECT_EQ(user_.shown, (std::vector<std::string>{
                             "notice: " + EditModeMessage(TEditModeMessage::AssociatedNotFound),
                             "notice: " + EditModeMessage(TEditModeMessage::AssociatedNotLoaded)}));
  EXPECT_EQ(manager_.Associations().Count(), 1);
}

TEST_F(TKervEditModeManagerTest, LoadMode) {
  manager_.Current().SetAuthor("before");
  EXPECT_TRUE(manager_.LoadMode(kDefaultModeName));  // no file: the factory settings
  EXPECT_EQ(manager_.CurrentName(), kDefaultModeName);
  EXPECT_EQ(manager_.Current().Caret().TabSpaceCount(), 4);
  EXPECT_EQ(manager_.Current().Author(), "");

  AddMode("Broken.em2", "junk");
  for (const char* name : {"Missing", "Broken"}) {
    EXPECT_FALSE(manager_.LoadMode(name)) << name;
    EXPECT_EQ(manager_.CurrentName(), kDefaultModeName) << name;
  }
  EXPECT_EQ(user_.shown, std::vector<std::string>(2, "error: " + EditModeMessage(TEditModeMessage::LoadFailed)));
}

TEST_F(TKervEditModeManagerTest, ModeNamesListTheDefaultFirst) {
  AddMode("b.em2");
  AddMode("a.em2");
  AddMode("\xE3\x83\x87\xE3\x83\x95\xE3\x82\xA9\xE3\x83\xAB\xE3\x83\x88.em2");  // デフォルト in UTF-8
  AddMode("\xE8\xA1\xA8.em2");                                                 // 表
  AddMode("notes.txt");
  EXPECT_EQ(manager_.ModeNames(), (std::vector<std::string>{kDefaultModeName, "a", "b", Sjis("表")}));
  EXPECT_TRUE(manager_.ModeExists(Sjis("表")));
  EXPECT_EQ(manager_.ModeFilePath(Sjis("表")), std::string(kFolder) + "\xE8\xA1\xA8.em2");
  TKervEditModeManager empty(fs_, codePage_, user_, "/nowhere");
  EXPECT_EQ(empty.ModeNames(), std::vector<std::string>{kDefaultModeName});
}

TEST_F(TKervEditModeManagerTest, OnlyASwitchThatRewrapsAsksAboutUndo) {
  AddMode("Plain.em2", ModeText(false, 60));
  AddMode("Wrap80.em2", ModeText(true, 80));
  AddMode("Wrap70.em2", ModeText(true, 70));
  ASSERT_TRUE(manager_.LoadMode(kDefaultModeName));
  EXPECT_EQ(manager_.ChangeMode("Plain", true, false), TModeSwitch::Changed);  // both off: no question
  EXPECT_TRUE(user_.shown.empty());
  EXPECT_EQ(manager_.ChangeMode("Plain", true, false), TModeSwitch::Unchanged);

  user_.answers = {false, true, true};
  EXPECT_EQ(manager_.ChangeMode("Wrap80", true, false), TModeSwitch::Declined);
  EXPECT_EQ(manager_.CurrentName(), "Plain");
  EXPECT_EQ(manager_.ChangeMode("Wrap80", true, false), TModeSwitch::Changed);
  EXPECT_EQ(manager_.ChangeMode("Wrap70", true, false), TModeSwitch::Changed);  // both wrap, widths differ
  EXPECT_EQ(manager_.ChangeMode("Wrap70", false, true), TModeSwitch::Changed);  // forced reload, not asked
  EXPECT_EQ(manager_.ChangeMode("", false, false), TModeSwitch::Changed);
  EXPECT_EQ(manager_.CurrentName(), kDefaultModeName);
  EXPECT_EQ(user_.shown, std::vector<std::string>(3, "ask: " + EditModeMessage(TEditModeMessage::UndoClearQuestion)));
  EXPECT_EQ(manager_.ChangeMode("Missing", false, false), TModeSwitch::Failed);
}

TEST_F(TKervEditModeManagerTest, AskingFirstStillReportsAMissingMode) {
  Associate("md=Gone\r\n");
  ASSERT_TRUE(manager_.LoadMode(kDefaultModeName));
  EXPECT_EQ(manager_.ChangeModeForFile("/doc/a.md", true), TModeSwitch::Changed);
  EXPECT_EQ(user_.shown, std::vector<std::string>{"notice: " + EditModeMessage(TEditModeMessage::AssociatedNotFound)});
  EXPECT_EQ(manager_.ChangeModeForFile("/doc/b.md", true), TModeSwitch::Changed);
  EXPECT_EQ(user_.shown.size(), 1u);
}

TEST_F(TKervEditModeManagerTest, NamesWithReservedCharactersAreRefused) {
  for (char c : std::string("\\/;*?\"<>|")) {
    EXPECT_FALSE(TKervEditModeManager::IsValidName(std::string("a") + c + "b")) << c;
  }
  // Trail bytes 0x5C and 0x7C belong to their characters (表, ソ, ポ).
  for (const char* name : {"表示", "ソース", "ポ", "C++", "a.b", "デフォルト"}) {
    EXPECT_TRUE(TKervEditModeManager::IsValidName(Sjis(name))) << name;
  }
  EXPECT_FALSE(manager_.CheckName("a|b"));
  EXPECT_EQ(user_.shown, std::vector<std::string>{"refused: 次の文字は使えません「 \\ / ; * ? \" < > | 」"});
  EXPECT_EQ(manager_.InvalidModeMessage(Sjis("表")), "不正な編集モードを使おうとしました。 - 表");
}

TEST_F(TKervEditModeManagerTest, SeedingCopiesTheShippedModesIntoANewFolder) {
  fs_.AddFolder("/opt/kerv/modes");
  fs_.AddFile("/opt/kerv/modes/C.em2", "shipped C");
  fs_.AddFile("/opt/kerv/modes/Java.em2", "shipped Java");
  fs_.AddFile("/opt/kerv/modes/editmode.ini", "c=C\r\njava=Java\r\n");
  AddMode("C.em2", "mine");
  EXPECT_FALSE(manager_.SeedShippedModes("/opt/kerv/none"));
  EXPECT_TRUE(manager_.SeedShippedModes("/opt/kerv/modes"));
  EXPECT_EQ(fs_.Contents(std::string(kFolder) + "C.em2"), "mine");
  EXPECT_EQ(fs_.Contents(std::string(kFolder) + "Java.em2"), "shipped Java");
  EXPECT_EQ(fs_.Contents(std::string(kFolder) + "editmode.ini"), "c=C\r\njava=Java\r\n");
  fs_.AddFile("/opt/kerv/modes/Python.em2", "shipped Python");
  EXPECT_FALSE(manager_.SeedShippedModes("/opt/kerv/modes"));  // only a folder without editmode.ini
  EXPECT_FALSE(fs_.FileExists(std::string(kFolder) + "Python.em2"));
}

}  // namespace
}  // namespace kerv
