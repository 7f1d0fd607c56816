#include "app/TKervUserMode.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/app/AppTestSupport.h"

namespace kerv {
namespace {

using ::testing::ElementsAre;

class TKervUserModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The program folder with its default settings and one file that is never seeded.
    for (const char* name : {"kerv.ini", "kervtool.ini", "editmode.ini", "c.em2", "html.em2", "default.tks", "kerv.chm"}) {
      app_.fs.AddFile(std::string("/opt/kerv/") + name, name);
    }
  }
  void UserModeIni(const std::string& text) { app_.fs.AddFile("/opt/kerv/usermode.ini", text); }
  std::string Folder() { return TKervUserMode(app_.platform, "/opt/kerv/").GetSettingFolder(); }

  testing::FakeApp app_;
};

TEST_F(TKervUserModeTest, NoUserModeIniUsesTheProgramFolder) {
  size_t files = app_.fs.FileCount();
  EXPECT_EQ(Folder(), "/opt/kerv/");
  EXPECT_EQ(app_.fs.FileCount(), files);
}

TEST_F(TKervUserModeTest, InstalledProgramUsesTheSeededConfigFolder) {
  app_.fs.SetReadOnlyFolder("/opt/kerv", true);
  app_.fs.configFolder = "/home/user/.config/";
  EXPECT_EQ(Folder(), "/home/user/.config/kerv/");
  EXPECT_EQ(app_.fs.Contents("/home/user/.config/kerv/kerv.ini"), "kerv.ini");
  EXPECT_EQ(app_.fs.Contents("/home/user/.config/kerv/c.em2"), "c.em2");
  EXPECT_FALSE(app_.fs.FileExists("/home/user/.config/kerv/kerv.chm"));
  // Later starts find the folder and copy nothing, even newer defaults.
  app_.fs.AddFile("/opt/kerv/kerv.ini", "newer");
  EXPECT_EQ(Folder(), "/home/user/.config/kerv/");
  EXPECT_EQ(app_.fs.Contents("/home/user/.config/kerv/kerv.ini"), "kerv.ini");
}

TEST_F(TKervUserModeTest, InstalledProgramNeverWritesBesideItselfEvenWhenItCould) {
  // root can write /usr/bin; the data folder says the program is installed.
  app_.fs.AddFolder("/usr/bin");
  app_.fs.AddFolder("/usr/share/kerv");
  app_.fs.AddFolder("/root");
  app_.fs.AddFile("/usr/share/kerv/kerv.ini", "shipped");
  app_.fs.configFolder = "/root/.config/";
  EXPECT_EQ(DataFolderOf(app_.fs, "/usr/bin/"), "/usr/share/kerv/");
  EXPECT_EQ(DataFolderOf(app_.fs, "/opt/kerv/"), "/opt/kerv/");
  EXPECT_EQ(TKervUserMode(app_.platform, "/usr/bin/").GetSettingFolder(), "/root/.config/kerv/");
  EXPECT_EQ(app_.fs.Contents("/root/.config/kerv/kerv.ini"), "shipped");
  EXPECT_FALSE(app_.fs.FileExists("/usr/bin/kerv.ini"));
}

TEST_F(TKervUserModeTest, InstalledProgramMakesAMissingConfigRoot) {
  app_.fs.SetReadOnlyFolder("/opt/kerv", true);
  app_.fs.configFolder = "/home/user/.xdg/";
  EXPECT_EQ(Folder(), "/home/user/.xdg/kerv/");
  EXPECT_TRUE(app_.fs.FileExists("/home/user/.xdg/kerv/default.tks"));
}

TEST_F(TKervUserModeTest, PerUserFolderIsMadeAndSeededOnce) {
  UserModeIni("[MultiUser]\r\nMultiUserMode=1\r\n");
  app_.fs.userName = "  hanako ";
  EXPECT_EQ(Folder(), "/opt/kerv/userset/hanako/");
  for (const char* name : {"kerv.ini", "kervtool.ini", "editmode.ini", "c.em2", "html.em2", "default.tks"}) {
    EXPECT_TRUE(app_.fs.FileExists(std::string("/opt/kerv/userset/hanako/") + name)) << name;
  }
  EXPECT_FALSE(app_.fs.FileExists("/opt/kerv/userset/hanako/kerv.chm"));
  EXPECT_FALSE(app_.fs.FileExists("/opt/kerv/userset/hanako/usermode.ini"));
}

TEST_F(TKervUserModeTest, PerUserFolderThatExistsGetsNoCopies) {
  UserModeIni("[MultiUser]\nMultiUserMode=1\n");
  app_.fs.AddFolder("/opt/kerv/userset");
  app_.fs.AddFolder("/opt/kerv/userset/user");
  EXPECT_EQ(Folder(), "/opt/kerv/userset/user/");
  EXPECT_TRUE(app_.fs.ListFiles("/opt/kerv/userset/user", "*").empty());
}

TEST_F(TKervUserModeTest, PerUserFolderThatCannotBeMadeIsRefused) {
  UserModeIni("[MultiUser]\nMultiUserMode=1\n");
  app_.fs.SetReadOnlyFolder("/opt/kerv", true);
  EXPECT_EQ(Folder(), "");
  EXPECT_THAT(app_.DialogTexts(), ElementsAre("error:ユーザーフォルダーの生成に失敗しました"));
}

TEST_F(TKervUserModeTest, FixedFolderRules) {
  struct Case {
    const char* ini;
    const char* expected;
  } cases[] = {
      {"[MultiUser]\nMultiUserMode=2\nSettingPath=\n", "/opt/kerv/"},
      {"[MultiUser]\nMultiUserMode=2\n", "/opt/kerv/"},
      {"[MultiUser]\nMultiUserMode=2\nSettingPath=/home/user/set\n", "/home/user/set/"},
      {"[MultiUser]\nMultiUserMode=3\nSettingPath=/home/user/set\n", "/opt/kerv/"},
      {"[multiuser]\nmultiusermode = 2\nsettingpath = /home/user/set2/ \n", "/home/user/set2/"},
  };
  for (const Case& c : cases) {
    UserModeIni(c.ini);
    EXPECT_EQ(Folder(), c.expected) << c.ini;
  }
  EXPECT_EQ(app_.fs.Contents("/home/user/set/editmode.ini"), "editmode.ini");
}

TEST_F(TKervUserModeTest, FixedFolderWithShiftJisName) {
  // "設定" in Shift_JIS is 90 DD 92 E8; the folder is made under its UTF-8 name.
  UserModeIni("[MultiUser]\nMultiUserMode=2\nSettingPath=/home/user/\x90\xDD\x92\xE8\n");
  EXPECT_EQ(Folder(), "/home/user/設定/");
}

TEST_F(TKervUserModeTest, FixedFolderWithoutParentIsRefusedAfterTwoMessages) {
  UserModeIni("[MultiUser]\nMultiUserMode=2\nSettingPath=/nowhere/deeper\n");
  EXPECT_FALSE(app_.system.CheckStartup());
  EXPECT_THAT(app_.DialogTexts(), ElementsAre("error:設定ファイルフォルダーの作成に失敗しました",
                                              "box:エラー - KervEditor|ユーザーフォルダーの生成に失敗しました。"));
  EXPECT_FALSE(app_.fs.FolderExists("/nowhere"));
}

TEST_F(TKervUserModeTest, CheckStartupSettlesBothFolders) {
  ASSERT_TRUE(app_.system.CheckStartup());
  EXPECT_EQ(app_.system.ProgramFolder(), "/opt/kerv/");
  EXPECT_EQ(app_.system.SettingFilePath("kerv.ini"), "/opt/kerv/kerv.ini");
  EXPECT_EQ(app_.system.ProgramFilePath("kerv.chm"), "/opt/kerv/kerv.chm");
  EXPECT_EQ(TKervSystem::VersionString(), "5.0.5");
}

}  // namespace
}  // namespace kerv
