// The key sets and the tool launcher as a user meets them in the window:
// keys pressed in the pane, the settings dialog's key page, the tool menu,
// and the programs the tools start.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/dialogs/TFrmAppList.h"
#include "app/dialogs/TFrmKervSetting.h"
#include "app/dialogs/TKervKeySetPage.h"
#include "app/dialogs/TKeyCaptureEdit.h"
#include "app/settings/TKervSettingPages.h"
#include "app/window/TFrmKervMain.h"
#include "app/window/TKervEditorManager.h"
#include "app/window/TKervWindowCommands.h"
#include "editor/TEditor.h"
#include "keys/TKeyTable.h"
#include "tests/app/AppTestSupport.h"
#include "ui/TEditorWidget.h"
#include "tests/QtTestApplication.h"

namespace kerv {
namespace {

constexpr TKeySlot kF5{0, 71};
constexpr uint16_t kF3Shortcut = 114;

// A key-set file binding each slot to an action.
std::string KeySetFile(std::initializer_list<std::pair<TKeySlot, TKervAction>> bindings) {
  TKeyTable table;
  for (const auto& [slot, action] : bindings) table.Set(slot, action);
  return "[Info]\r\nType=KervKeySet\r\n[Data]\r\nKeySet=" + table.ToHex() + "\r\n";
}

struct Tool {
  std::string path;
  std::string name;
  std::string option;
  uint16_t shortCut = 0;
};

std::string ToolFile(const std::vector<Tool>& tools) {
  std::string text = "[ToolLauncher]\r\nNum=" + std::to_string(tools.size()) + "\r\n";
  for (size_t i = 0; i < tools.size(); ++i) {
    const std::string n = std::to_string(i);
    text += "ToolPath" + n + "=" + tools[i].path + "\r\nToolName" + n + "=" + tools[i].name + "\r\nShortCutKey" + n +
            "=" + std::to_string(tools[i].shortCut) + "\r\nOption" + n + "=" + tools[i].option + "\r\nSaveFile" + n +
            "=0\r\n";
  }
  return text;
}

using Files = std::vector<std::pair<std::string, std::string>>;

// A window over a settings folder holding the given files, shown and with
// the focus in its pane.
struct KeyWindow {
  testing::FakeApp app;
  std::unique_ptr<TFrmKervMain> window;
  std::string folder;
  std::vector<std::string> arguments;

  // programs: executable files; files: documents.
  explicit KeyWindow(const Files& settingFiles, std::vector<std::string> programs = {},
                     std::vector<std::string> startArguments = {}, const Files& files = {})
      : arguments(std::move(startArguments)) {
    TestApplication<QApplication>();
    app.fs.AddFolder("/home/user/bin");
    app.fs.AddFolder("/home/user/a b");
    for (const std::string& program : programs) AddProgram(program);
    for (const auto& [name, bytes] : files) app.fs.AddFile(name, bytes);
    EXPECT_TRUE(app.system.CheckStartup());
    folder = app.system.SettingFolder();
    for (const auto& [name, bytes] : settingFiles) app.fs.AddFile(folder + name, bytes);
    Open();
  }
  ~KeyWindow() { Close(); }

  void Open() {
    window = std::make_unique<TFrmKervMain>(app.system, arguments);
    window->Place();
    window->activateWindow();
    window->Editors().MainWidget().setFocus();
    QApplication::processEvents();
  }
  void Close() {
    if (window) window->Editors().MainEditor().SetModified(false);
    window.reset();
    Closing = false;
  }
  // What a restart reads: the same files.
  void Restart() {
    Close();
    Open();
  }
  void AddProgram(const std::string& path) {
    app.fs.AddFile(path, "#!/bin/sh\n");
    app.fs.SetFileMode(path, 0755);
  }

  TEditorWidget& Pane() { return window->Editors().ActiveWidget(); }
  TEditor& Editor() { return window->Editors().MainEditor(); }
  void Key(QKeySequence sequence) {
    // A closed dialog may leave no window active, and window keys need one.
    window->activateWindow();
    QApplication::processEvents();
    QTest::keySequence(&Pane(), sequence);
    QApplication::processEvents();
  }
  // Replaces the text with the typed one and selects it all.
  void TypeAndSelect(const QString& text) {
    Editor().SelectAll();
    QTest::keyClicks(&Pane(), text);
    Editor().SelectAll();
  }
  QMenu& ToolMenu() { return *window->findChild<QMenu*>(QStringLiteral("Mnu_AppList")); }
  const std::vector<QAction*>& ToolActions() { return window->ToolCommand().ToolActions(); }
  // Runs an action whose modal dialog the given work drives while it is shown.
  template <typename Dialog>
  void WithDialog(TKervAction action, const std::function<void(Dialog&)>& work) {
    bool seen = false;
    QTimer::singleShot(0, window.get(), [&] {
      auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      seen = true;
      work(*dialog);
    });
    window->Run(action);
    QApplication::processEvents();
    EXPECT_TRUE(seen);
  }
};

const char* const kMineIni = "[Settings]\r\nKeySet=mine\r\n";

TEST(KeySetWindowTest, MineBindsF5ToHalfToFullWidthAndLeavesCtrlDUnbound) {
  KeyWindow shown(Files{{"kerv.ini", kMineIni}, {"mine.tks", KeySetFile({{kF5, Act_Fmt_HanToZen}})}});
  EXPECT_EQ(shown.window->Action(Act_Fmt_HanToZen)->shortcut(), QKeySequence(Qt::Key_F5));
  // Actions the set does not name have no key, the built-in ones included.
  EXPECT_TRUE(shown.window->Action(Act_File_save)->shortcut().isEmpty());
  shown.TypeAndSelect(QStringLiteral("abc"));
  shown.Key(QKeySequence(QStringLiteral("Ctrl+D")));
  EXPECT_EQ(shown.window->DocumentText(), QStringLiteral("abc"));
  shown.Key(QKeySequence(Qt::Key_F5));
  EXPECT_EQ(shown.window->DocumentText(), QString::fromUtf8("ａｂｃ"));
  EXPECT_TRUE(shown.app.dialogs.shown.empty());
}

TEST(KeySetWindowTest, ADamagedSetIsReportedTheBuiltInSetUsedAndTheFileKept) {
  const std::string damaged = "[Info]\r\nType=KervKeySet\r\n[Data]\r\nKeySet=FFFF0100\r\n";
  KeyWindow shown(Files{{"kerv.ini", kMineIni}, {"mine.tks", damaged}});
  ASSERT_EQ(shown.app.dialogs.shown.size(), 1u);
  EXPECT_NE(shown.app.dialogs.shown[0].text.find("mine.tks"), std::string::npos) << shown.app.dialogs.shown[0].text;
  shown.TypeAndSelect(QStringLiteral("abc"));
  shown.Key(QKeySequence(QStringLiteral("Ctrl+D")));
  EXPECT_EQ(shown.window->DocumentText(), QString::fromUtf8("ａｂｃ"));
  EXPECT_EQ(shown.app.fs.Contents(shown.folder + "mine.tks"), damaged);
}

TEST(KeySetWindowTest, AKeyAssignedOnTheKeyPageWorksAtOnceAndAfterARestart) {
  KeyWindow shown(Files{{"kerv.ini", kMineIni}, {"mine.tks", KeySetFile({{kF5, Act_Fmt_HanToZen}})}});
  QString heldBefore;
  shown.WithDialog<TFrm_KervSetting>(Act_Tool_Setting, [&](TFrm_KervSetting& dialog) {
    dialog.ShowPage(TKervSettingPage::Keys);
    TKervKeySetPage& page = *dialog.KeySetPage();
    EXPECT_EQ(page.Cmb_Key_KeySetList->currentText(), QStringLiteral("mine"));
    page.ChooseAction(Act_Fmt_Lower);
    // Pressing F5 shows whose key it is; Ctrl+K is nobody's.
    QTest::keyClick(page.Edt_Key_Press, Qt::Key_F5);
    heldBefore = page.Lbl_Key_HeldBy->text();
    QTest::keyClick(page.Edt_Key_Press, Qt::Key_K, Qt::ControlModifier);
    page.Btn_Key_Assign->click();
    dialog.OkButton()->click();
  });
  EXPECT_TRUE(heldBefore.endsWith(QString::fromUtf8("半角->全角"))) << heldBefore.toStdString();
  shown.TypeAndSelect(QStringLiteral("ABC"));
  shown.Key(QKeySequence(QStringLiteral("Ctrl+K")));
  EXPECT_EQ(shown.window->DocumentText(), QStringLiteral("abc"));

  shown.Restart();
  shown.TypeAndSelect(QStringLiteral("XY"));
  shown.Key(QKeySequence(QStringLiteral("Ctrl+K")));
  EXPECT_EQ(shown.window->DocumentText(), QStringLiteral("xy"));
  shown.Key(QKeySequence(Qt::Key_F5));
  EXPECT_EQ(shown.window->DocumentText(), QString::fromUtf8("ｘｙ"));
}

TEST(KeySetWindowTest, ANewSetChosenOnTheKeyPageBecomesTheActiveOne) {
  KeyWindow shown(Files{});
  shown.WithDialog<TFrm_KervSetting>(Act_Tool_Setting, [&](TFrm_KervSetting& dialog) {
    TKervKeySetPage& page = *dialog.KeySetPage();
    page.AskName = [](const QString&, const QString&) { return std::optional<QString>(QStringLiteral("mine")); };
    page.AddSet();
    page.ChooseAction(Act_Fmt_HanToZen);
    page.Lst_Key_ShortCut->setCurrentRow(kF5.keyIndex - 1);
    page.Chk_Key_Ctrl->setChecked(false);
    page.Btn_Key_Assign->click();
    dialog.OkButton()->click();
  });
  EXPECT_NE(shown.app.fs.Contents(shown.folder + "kerv.ini").find("KeySet=mine\r\n"), std::string::npos);
  EXPECT_TRUE(shown.app.fs.FileExists(shown.folder + "mine.tks"));
  EXPECT_EQ(shown.window->Action(Act_Fmt_HanToZen)->shortcut(), QKeySequence(Qt::Key_F5));
  // The new set started as a copy of the built-in one.
  EXPECT_EQ(shown.window->Action(Act_File_save)->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
}

TEST(ToolLauncherWindowTest, AToolOnF3TakesF3FromFindNextAndGetsItsArgumentsWhole) {
  const std::string document = "/home/user/a b/it's 100%d.txt";
  KeyWindow shown(Files{{"kervtool.ini", ToolFile({{"/home/user/bin/tool", "Args", "-x \"%f\" -l %d %tf", kF3Shortcut}})}},
                  {"/home/user/bin/tool"}, {document}, Files{{document, "\x82\xA0\r\nb\r\n"}});
  EXPECT_TRUE(shown.window->Action(Act_Srch_FindNext)->shortcut().isEmpty());
  ASSERT_EQ(shown.ToolActions().size(), 1u);
  EXPECT_EQ(shown.ToolActions()[0]->text(), QStringLiteral("Args"));
  EXPECT_EQ(shown.ToolActions()[0]->shortcut(), QKeySequence(Qt::Key_F3));

  shown.Key(QKeySequence(Qt::Key_F3));
  ASSERT_EQ(shown.app.launcher.started.size(), 1u);
  EXPECT_EQ(shown.app.launcher.started[0].program, "/home/user/bin/tool");
  const std::vector<std::string> expected{"-x", "/home/user/a b/it's 100%d.txt", "-l", "/home/user/a b",
                                          shown.folder + "app_open.tmp"};
  EXPECT_EQ(shown.app.launcher.started[0].arguments, expected);
  // The copy holds the text as the editor has it: Shift_JIS, CR LF.
  EXPECT_EQ(shown.app.fs.Contents(shown.folder + "app_open.tmp"), "\x82\xA0\r\nb\r\n");
}

TEST(ToolLauncherWindowTest, AToolAddedInTheToolDialogIsInTheMenuAndTakesItsKeyAtOnce) {
  KeyWindow shown(Files{}, {"/home/user/bin/grep"});
  EXPECT_EQ(shown.window->Action(Act_Srch_FindNext)->shortcut(), QKeySequence(Qt::Key_F3));
  shown.WithDialog<TFrm_AppList>(Act_Tool_ToolSet, [&](TFrm_AppList& dialog) {
    dialog.EditTool = [](const TToolLauncherItem*) {
      TToolLauncherItem item;
      item.name = "grep";
      item.path = "/home/user/bin/grep";
      item.option = "%n";
      item.shortCut = kF3Shortcut;
      return std::optional<TToolLauncherItem>(item);
    };
    dialog.Add();
    dialog.Btn_OK->click();
  });
  EXPECT_TRUE(shown.window->Action(Act_Srch_FindNext)->shortcut().isEmpty());
  ASSERT_EQ(shown.ToolActions().size(), 1u);
  EXPECT_EQ(shown.ToolActions()[0]->text(), QStringLiteral("grep"));
  EXPECT_TRUE(shown.ToolMenu().actions().contains(shown.ToolActions()[0]));
  shown.Key(QKeySequence(Qt::Key_F3));
  ASSERT_EQ(shown.app.launcher.started.size(), 1u);
  EXPECT_EQ(shown.app.launcher.started[0].arguments, std::vector<std::string>{});  // untitled: %n is empty
  EXPECT_NE(shown.app.fs.Contents(shown.folder + "kervtool.ini").find("ShortCutKey0=114"), std::string::npos);
}

TEST(ToolLauncherWindowTest, TheMenuShowsAtMostAppListNumToolsAndMissingProgramsAsSuch) {
  std::vector<Tool> tools;
  for (int i = 0; i < 20; ++i) tools.push_back({"/home/user/bin/t" + std::to_string(i), "tool" + std::to_string(i), ""});
  std::vector<std::string> programs;
  for (const Tool& tool : tools) programs.push_back(tool.path);
  tools[1].path = "/home/user/bin/gone";
  KeyWindow shown(Files{{"kerv.ini", "[Settings]\r\nAppListNum=15\r\n"}, {"kervtool.ini", ToolFile(tools)}}, programs);
  ASSERT_EQ(shown.ToolActions().size(), 15u);
  EXPECT_EQ(shown.ToolActions()[0]->text(), QStringLiteral("tool0"));
  EXPECT_EQ(shown.ToolActions()[1]->text(), QString::fromUtf8("ファイルが見つかりません"));
  EXPECT_FALSE(shown.ToolActions()[1]->isEnabled());
  EXPECT_EQ(shown.ToolActions()[14]->text(), QStringLiteral("tool14"));
  // The tool dialog's action, a separator, the tools.
  EXPECT_EQ(shown.ToolMenu().actions().size(), 17);
  EXPECT_EQ(shown.ToolMenu().actions()[0], shown.window->Action(Act_Tool_ToolSet));
}

TEST(ToolLauncherWindowTest, AToolThatCannotStartIsNoticedNamingItsProgram) {
  struct Case {
    int mode;
    bool failStart;
    const char* notice;
  } cases[] = {
      {0644, false, "実行ファイルに実行の許可がありません。"},
      {0755, true, "ツールを起動できませんでした。"},
  };
  for (const Case& c : cases) {
    KeyWindow shown(Files{{"kervtool.ini", ToolFile({{"/home/user/bin/tool", "t", "%f"}})}});
    shown.app.fs.AddFile("/home/user/bin/tool", "x");
    shown.app.fs.SetFileMode("/home/user/bin/tool", c.mode);
    shown.app.launcher.failStart = c.failStart;
    EXPECT_FALSE(shown.window->ToolCommand().LaunchTool(0));
    const QString notice = shown.window->InfoText();
    EXPECT_TRUE(notice.startsWith(QString::fromUtf8("[エラー] /home/user/bin/tool"))) << notice.toStdString();
    EXPECT_TRUE(notice.contains(QString::fromUtf8(c.notice))) << notice.toStdString();
  }
}

TEST(ToolLauncherWindowTest, TheTemporaryCopyGoesAtExitOnlyWhenDelTempIsOnAndThisWindowWroteIt) {
  struct Case {
    const char* delTemp;
    bool launch;
    bool remains;
  } cases[] = {{"1", true, false}, {"0", true, true}, {"1", false, true}};
  for (const Case& c : cases) {
    KeyWindow shown(Files{{"kerv.ini", std::string("[Settings]\r\nDelTemp=") + c.delTemp + "\r\n"},
                     {"kervtool.ini", ToolFile({{"/home/user/bin/tool", "t", "%tf"}})}},
                    {"/home/user/bin/tool"});
    const std::string temp = shown.folder + "app_open.tmp";
    shown.app.fs.AddFile(temp, "left by another window");
    if (c.launch) {
      EXPECT_TRUE(shown.window->ToolCommand().LaunchTool(0));
    }
    shown.window->Editors().MainEditor().SetModified(false);
    shown.window->close();
    EXPECT_EQ(shown.app.fs.FileExists(temp), c.remains) << c.delTemp << c.launch;
  }
}

}  // namespace
}  // namespace kerv
