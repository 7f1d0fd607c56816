// The tool list in kervtool.ini, the menu, and launching a tool.

#include <gtest/gtest.h>

#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"
#include "tools/TKervToolLauncher.h"

namespace kerv {
namespace {

class FakeHost : public IKervToolHost {
 public:
  std::string path = "/home/user/a b/it's.txt";
  std::string text = "\x82\xA0\r\nline\r\n";  // あ, CR LF
  bool saveAnswer = true;
  int saves = 0;
  std::vector<std::string> notices;

  std::string DocumentPath() override { return path; }
  std::string DocumentText() override { return text; }
  bool SaveDocument() override {
    ++saves;
    return saveAnswer;
  }
  void NoticeError(const std::string& notice) override { notices.push_back(notice); }
};

class ToolLauncherTest : public ::testing::Test {
 protected:
  ToolLauncherTest() {
    fs_.AddFolder("/cfg");
    fs_.AddFolder("/bin");
    fs_.AddFile("/bin/tool", "#!/bin/sh\n");
    fs_.SetFileMode("/bin/tool", 0755);
  }

  TKervToolLauncher Launcher(TToolLaunchSettings settings = {}) {
    return TKervToolLauncher({fs_, codePage_, &launcher_, &host_}, "/cfg", std::move(settings));
  }
  void AddTools(const std::string& body) { fs_.AddFile("/cfg/kervtool.ini", "[ToolLauncher]\r\n" + body); }
  static std::string Tool(int i, const std::string& path, const std::string& option, int shortCut = 0,
                          bool saveFile = false, const std::string& name = "") {
    const std::string n = std::to_string(i);
    return "ToolPath" + n + "=" + path + "\r\nToolName" + n + "=" + (name.empty() ? "tool" + n : name) +
           "\r\nShortCutKey" + n + "=" + std::to_string(shortCut) + "\r\nOption" + n + "=" + option +
           "\r\nSaveFile" + n + "=" + (saveFile ? "1" : "0") + "\r\n";
  }

  FakeFileSystem fs_;
  IconvCodePage codePage_;
  FakeLauncher launcher_;
  FakeHost host_;
};

TEST_F(ToolLauncherTest, KervtoolIniReadsAndWritesBackTheSameText) {
  // Names are Shift_JIS (グレップ), a UTF-8 path typed by hand stays as it is.
  const std::string text = "[ToolLauncher]\r\nNum=3\r\n" + Tool(0, "/bin/tool", "-x \"%f\" -l %d", 0x4000 | 'G', true,
                                                                  "\x83\x4F\x83\x8C\x83\x62\x83\x76") +
                           Tool(1, "/opt/ツール/run", "%tf", 114) + Tool(2, "", "") ;
  fs_.AddFile("/cfg/kervtool.ini", text);
  TKervToolLauncher list = Launcher();
  list.LoadList();
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.GetItem(0)->option, "-x \"%f\" -l %d");
  EXPECT_EQ(list.GetItem(0)->shortCut, 0x4000 | 'G');
  EXPECT_TRUE(list.GetItem(0)->saveFile);
  EXPECT_EQ(list.GetItem(1)->path, "/opt/ツール/run");
  EXPECT_EQ(list.GetItem(3), nullptr);
  EXPECT_EQ(list.GetItem(-1), nullptr);
  list.SaveList();
  EXPECT_EQ(fs_.Contents("/cfg/kervtool.ini"), text);

  // Moving the second tool up and saving writes it as tool 0.
  ASSERT_TRUE(list.MoveUp(1));
  EXPECT_FALSE(list.MoveUp(0));
  EXPECT_FALSE(list.MoveDown(2));
  list.SaveList();
  TIniFile ini(fs_, "/cfg/kervtool.ini");
  EXPECT_EQ(ini.ReadString("ToolLauncher", "ToolPath0", ""), "/opt/ツール/run");
  EXPECT_EQ(ini.ReadString("ToolLauncher", "ToolName1", ""), "\x83\x4F\x83\x8C\x83\x62\x83\x76");
}

TEST_F(ToolLauncherTest, ShrinkingTheListDropsTheOldKeysAndKeepsOtherSections) {
  fs_.AddFile("/cfg/kervtool.ini", "[Mine]\r\nA=1\r\n\r\n[ToolLauncher]\r\nNum=2\r\n" + Tool(0, "/bin/tool", "") +
                                       Tool(1, "/bin/tool", ""));
  TKervToolLauncher list = Launcher();
  list.LoadList();
  list.DeleteItem(0);
  list.DeleteItem(5);  // out of range: ignored
  ASSERT_EQ(list.Count(), 1);
  // A line break typed into a field cannot add keys of its own.
  list.GetItem(0)->name = "evil\r\nNum=99\r\nToolPath5=/x";
  list.SaveList();
  TIniFile ini(fs_, "/cfg/kervtool.ini");
  EXPECT_EQ(ini.ReadString("Mine", "A", ""), "1");
  EXPECT_EQ(ini.ReadSection("ToolLauncher"),
            (std::vector<std::string>{"Num", "ToolPath0", "ToolName0", "ShortCutKey0", "Option0", "SaveFile0"}));
  EXPECT_EQ(ini.ReadInteger("ToolLauncher", "Num", 0), 1);
}

TEST_F(ToolLauncherTest, ADamagedCountIsBoundedByTheKeysInTheFile) {
  const struct {
    std::string body;
    int count;
  } cases[] = {
      {"Num=2000000000\r\n" + Tool(0, "/bin/tool", "") + Tool(1, "/bin/tool", ""), 2},
      {"Num=2000000000\r\nToolPath999999999=/bin/tool\r\n", 1},
      {"Num=-5\r\n" + Tool(0, "/bin/tool", ""), 0},
      {"Num=many\r\n" + Tool(0, "/bin/tool", ""), 0},
      {"Num=1\r\n" + Tool(0, "/bin/tool", "") + Tool(1, "/bin/tool", ""), 1},
      {"Num=3\r\nToolPath0=/bin/tool\r\nToolName2=only a name\r\n", 2},  // tool 1 holds nothing
      {"Num=2\r\nToolPath00=/a\r\nToolPathX=/b\r\nOther1=/c\r\n", 0},
      {"Num=2\r\nshortcutkey1=70000\r\n", 1},
  };
  for (const auto& c : cases) {
    AddTools(c.body);
    TKervToolLauncher list = Launcher();
    list.LoadList();
    EXPECT_EQ(list.Count(), c.count) << c.body;
    EXPECT_EQ(static_cast<int>(TKervToolLauncher::ReadShortcuts(fs_, "/cfg").size()), c.count);
  }
  EXPECT_EQ(Launcher().GetItem(0), nullptr);
  TKervToolLauncher list = Launcher();
  list.LoadList();
  EXPECT_EQ(list.GetItem(0)->shortCut, 0);  // out of the 16-bit range
}

TEST_F(ToolLauncherTest, TheMenuShowsAtMostAppListNumTools) {
  std::string body = "Num=20\r\n";
  for (int i = 0; i < 20; ++i) body += Tool(i, i == 3 ? "/bin/missing" : "/bin/tool", "", i == 0 ? 114 : 0);
  AddTools(body);
  TToolLaunchSettings settings;
  settings.AppListNum = 15;
  TKervToolLauncher list = Launcher(settings);
  list.LoadList();
  const std::vector<TToolMenuEntry> entries = list.MenuEntries();
  ASSERT_EQ(entries.size(), 15u);
  EXPECT_EQ(entries[0].caption, "tool0");
  EXPECT_EQ(entries[0].shortCut, 114);
  EXPECT_EQ(entries[0].hint, "/bin/tool");
  EXPECT_FALSE(entries[3].exists);
  EXPECT_EQ(entries[3].caption, "ファイルが見つかりません");
  EXPECT_EQ(entries[3].hint, "/bin/missing");
  EXPECT_EQ(entries[14].index, 14);
  EXPECT_EQ(list.MenuEntries(30).size(), 20u);
  EXPECT_EQ(list.MenuEntries(0).size(), 0u);
  EXPECT_EQ(list.MenuEntries(-3).size(), 0u);
}

TEST_F(ToolLauncherTest, ANameInShiftJisIsShownInUtf8) {
  AddTools("Num=1\r\n" + Tool(0, "/bin/tool", "", 0, false, "\x83\x4F\x83\x8C\x83\x62\x83\x76"));
  TKervToolLauncher list = Launcher();
  list.LoadList();
  EXPECT_EQ(list.MenuEntries()[0].caption, "グレップ");
}

TEST_F(ToolLauncherTest, LaunchPassesTheArgumentsWholeWithoutAShell) {
  AddTools("Num=1\r\n" + Tool(0, "/bin/tool", "-x \"%f\" -l %d"));
  TKervToolLauncher list = Launcher();
  list.LoadList();
  ASSERT_TRUE(list.Launch(0));
  ASSERT_EQ(launcher_.started.size(), 1u);
  EXPECT_EQ(launcher_.started[0].program, "/bin/tool");
  EXPECT_EQ(launcher_.started[0].arguments,
            (std::vector<std::string>{"-x", "/home/user/a b/it's.txt", "-l", "/home/user/a b"}));
  EXPECT_TRUE(launcher_.opened.empty());
  EXPECT_FALSE(fs_.FileExists("/cfg/app_open.tmp"));  // no %t: no temporary copy
  EXPECT_EQ(host_.saves, 0);
  EXPECT_TRUE(host_.notices.empty());
}

TEST_F(ToolLauncherTest, ThePercentTOfAPathWritesNoTemporaryCopy) {
  host_.path = "/data/%tf/a.txt";
  AddTools("Num=1\r\n" + Tool(0, "/bin/tool", "%f"));
  TKervToolLauncher list = Launcher();
  list.LoadList();
  ASSERT_TRUE(list.Launch(0));
  EXPECT_EQ(launcher_.started[0].arguments, std::vector<std::string>{"/data/%tf/a.txt"});
  EXPECT_FALSE(fs_.FileExists("/cfg/app_open.tmp"));
}

TEST_F(ToolLauncherTest, TheTemporaryCopyHoldsTheTextAsItIs) {
  host_.path.clear();  // untitled
  AddTools("Num=1\r\n" + Tool(0, "/bin/tool", "%tf \"%f\""));
  TToolLaunchSettings settings;
  settings.TempFile = "copy.txt";
  TKervToolLauncher list = Launcher(settings);
  list.LoadList();
  ASSERT_TRUE(list.Launch(0));
  EXPECT_EQ(fs_.Contents("/cfg/copy.txt"), host_.text);
  EXPECT_EQ(launcher_.started[0].arguments, (std::vector<std::string>{"/cfg/copy.txt", ""}));
  EXPECT_TRUE(list.TempFileWritten());

  EXPECT_TRUE(RemoveToolTempFile(fs_, codePage_, "/cfg", settings));
  EXPECT_FALSE(fs_.FileExists("/cfg/copy.txt"));
  fs_.AddFile("/cfg/copy.txt", "x");
  settings.DelTemp = false;
  EXPECT_FALSE(RemoveToolTempFile(fs_, codePage_, "/cfg", settings));
  EXPECT_TRUE(fs_.FileExists("/cfg/copy.txt"));
}

TEST_F(ToolLauncherTest, ATempFileNameThatLeavesTheSettingsFolderIsNotUsed) {
  for (const char* name : {"../../home/user/.bashrc", "", "..", "a|b", "sub/dir"}) {
    TToolLaunchSettings settings;
    settings.TempFile = name;
    EXPECT_EQ(TKervToolLauncher::TempFileName(codePage_, settings), "app_open.tmp") << name;
  }
  TToolLaunchSettings settings;
  settings.TempFile = "\x88\xEA\x8E\x9E.txt";  // 一時.txt in Shift_JIS
  EXPECT_EQ(TKervToolLauncher::TempFileName(codePage_, settings), "一時.txt");
}

TEST_F(ToolLauncherTest, FailuresAreReportedAndNothingStarts) {
  fs_.AddFile("/bin/plain", "data");
  fs_.SetFileMode("/bin/plain", 0644);
  AddTools("Num=5\r\n" + Tool(0, "/bin/gone", "") + Tool(1, "/bin/plain", "") + Tool(2, "/bin/tool", "%f") +
           Tool(3, "", "", 0, false, "noname") + Tool(4, "/bin/tool", "%tf"));
  TKervToolLauncher list = Launcher();
  list.LoadList();

  EXPECT_FALSE(list.Launch(0));
  EXPECT_EQ(host_.notices.back(), "/bin/gone\r\n実行ファイルが見つかりません。");
  EXPECT_FALSE(list.Launch(1));
  EXPECT_EQ(host_.notices.back(), "/bin/plain\r\n実行ファイルに実行の許可がありません。");
  EXPECT_FALSE(list.Launch(3));
  EXPECT_EQ(host_.notices.back(), "noname\r\n実行ファイルが見つかりません。");
  EXPECT_TRUE(launcher_.started.empty());

  launcher_.failStart = true;
  EXPECT_FALSE(list.Launch(2));
  EXPECT_EQ(host_.notices.back(), "/bin/tool\r\nツールを起動できませんでした。\r\nNo such file or directory");
  launcher_.failStart = false;

  fs_.FailWritesTo("/cfg/app_open.tmp");
  const size_t started = launcher_.started.size();
  EXPECT_FALSE(list.Launch(4));
  EXPECT_EQ(host_.notices.back(), "一時ファイルの書きこみに失敗しました。");
  EXPECT_EQ(launcher_.started.size(), started);

  EXPECT_FALSE(list.Launch(9));
  EXPECT_EQ(host_.notices.size(), 5u);
}

TEST_F(ToolLauncherTest, SaveFirst) {
  AddTools("Num=1\r\n" + Tool(0, "/bin/tool", "%f", 0, true));
  TKervToolLauncher list = Launcher();
  list.LoadList();
  host_.saveAnswer = false;
  EXPECT_FALSE(list.Launch(0));
  EXPECT_EQ(host_.saves, 1);
  EXPECT_TRUE(launcher_.started.empty());
  EXPECT_TRUE(host_.notices.empty());  // a declined save says nothing more
  host_.saveAnswer = true;
  EXPECT_TRUE(list.Launch(0));
  EXPECT_EQ(launcher_.started.size(), 1u);
}

TEST_F(ToolLauncherTest, TheToolEditorsChecks) {
  EXPECT_EQ(CheckToolEntry(fs_, "", "/bin/tool"), TToolEntryProblem::EmptyName);
  EXPECT_EQ(CheckToolEntry(fs_, "t", "/bin/gone"), TToolEntryProblem::ProgramMissing);
  EXPECT_EQ(CheckToolEntry(fs_, "t", ""), TToolEntryProblem::ProgramMissing);
  EXPECT_EQ(CheckToolEntry(fs_, "t", "/bin"), TToolEntryProblem::ProgramMissing);  // a folder
  EXPECT_EQ(CheckToolEntry(fs_, "t", "/bin/tool"), TToolEntryProblem::None);
  EXPECT_EQ(ToolEntryProblemMessage(TToolEntryProblem::ProgramMissing, "/bin/gone"),
            "/bin/gone\r\n実行ファイルが見つかりません。");
  EXPECT_EQ(ToolEntryProblemMessage(TToolEntryProblem::EmptyName, ""), "ツール名を入力してください。");
}

TEST_F(ToolLauncherTest, AListWithoutALauncherDoesNotLaunch) {
  AddTools("Num=1\r\n" + Tool(0, "/bin/tool", ""));
  TKervToolLauncher list({fs_, codePage_}, "/cfg");
  list.LoadList();
  EXPECT_FALSE(list.Launch(0));
  EXPECT_TRUE(list.Exists(0));
}

}  // namespace
}  // namespace kerv
