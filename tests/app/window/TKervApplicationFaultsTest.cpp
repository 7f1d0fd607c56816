// What a new user met in the window: modes that overrode the settings, split
// panes, the start-up mode, associations, window sizes, labels and help.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <fstream>
#include <sstream>

#include "app/dialogs/TFrmEditModeSetting.h"
#include "app/dialogs/TFrmKervSetting.h"
#include "app/dialogs/TFrmNumbering.h"
#include "app/dialogs/TFrmReplacing.h"
#include "app/dialogs/TFrmTypeFormat.h"
#include "app/settings/TKervSettingManager.h"
#include "app/TKervParameter.h"
#include "app/window/TFrmKervMain.h"
#include "app/window/TKervEditorManager.h"
#include "app/window/TKervInformation.h"
#include "app/window/TKervTranslations.h"
#include "app/window/TKervWindowCommands.h"
#include "editmode/EditModeMessages.h"
#include "editmode/TEditorProp.h"
#include "editmode/TKervEditModeManager.h"
#include "editmode/TKervEditModeSettingManager.h"
#include "editor/TEditor.h"
#include "format/TNumberingOptions.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/window/WindowTestSupport.h"
#include "ui/TEditorWidget.h"

namespace kerv {
namespace {

std::string ShippedMode(const char* name) {
  std::ifstream file(std::string(KERV_TEST_DATA_DIR) + "/../../editmode/modes/" + name, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// A fake process whose settings folder holds the C-C++ mode and its associations.
struct ModesApp {
  testing::FakeApp app;
  explicit ModesApp(const std::string& kervIni = "") {
    testing::TestApp();
    app.fs.AddFile("/opt/kerv/C-C++.em2", ShippedMode("C-C++.em2"));
    app.fs.AddFile("/opt/kerv/editmode.ini", ShippedMode("editmode.ini"));
    if (!kervIni.empty()) app.fs.AddFile("/opt/kerv/kerv.ini", kervIni);
    EXPECT_TRUE(app.system.CheckStartup());
  }
};

// The panes of a window without the rest of the window.
struct Panes {
  QApplication& application = testing::TestApp();
  IconvCodePage codePage;
  FakeFileSystem fs;
  TKervSettingManager settings{fs, "/opt/kerv/"};
  QMainWindow host;
  TKervEditorManager manager{codePage, &host};
  Panes() {
    host.setCentralWidget(manager.Container());
    host.resize(800, 500);
    host.show();
    manager.Init();
    QApplication::processEvents();
  }
  TEditor& Main() { return manager.MainEditor(); }
};

TEST(TKervApplicationFaultsTest, TheSettingsMarginsHoldInEveryMode) {
  Panes panes;
  TKervViewSetting& view = panes.settings.View();
  view.Margin_Left = 5;
  view.Margin_Top = 3;
  view.Margin_Char = 1;
  view.Margin_Line = 2;
  panes.manager.ApplySettings(panes.settings);
  TEditorPropEx mode;
  mode.Margin().SetLeft(19);
  mode.Margin().SetTop(9);
  mode.Margin().SetLine(7);
  panes.manager.ApplyEditMode(panes.Main(), mode, panes.settings);
  EXPECT_EQ(panes.Main().Margin().Left(), 5);
  EXPECT_EQ(panes.Main().Margin().Top(), 3);
  EXPECT_EQ(panes.Main().Margin().Character(), 1);
  EXPECT_EQ(panes.Main().Margin().Line(), 2);
}

TEST(TKervApplicationFaultsTest, AModeSwitchAfterASplitKeepsWrappingAtTheWindowEdge) {
  Panes panes;
  TEditorPropEx mode;
  mode.SetShowTab(true);
  mode.SetWordWrap(false);
  mode.WrapOption().SetWrapByte(40);
  panes.manager.ApplyEditMode(panes.Main(), mode, panes.settings);
  panes.manager.Wrap().SetWindowWrap(true, panes.manager.WindowColumns());
  panes.manager.ToggleSplit(1);
  QApplication::processEvents();
  TEditor* second = panes.manager.SecondEditor();
  ASSERT_NE(second, nullptr);
  // The second pane shows the blank marks of the first from the start.
  EXPECT_TRUE(panes.manager.SecondWidget()->WhitespaceMarks().tab);
  // The mode applied to both panes, main first: the shared rows stay wrapped at the edge.
  panes.manager.ApplyEditMode(panes.Main(), mode, panes.settings);
  panes.manager.ApplyEditMode(*second, mode, panes.settings);
  EXPECT_TRUE(panes.Main().WordWrap());
  EXPECT_EQ(panes.Main().WrapOption().WrapByte(), panes.manager.WindowColumns());
  EXPECT_TRUE(panes.manager.Wrap().WindowWrap());
}

TEST(TKervApplicationFaultsTest, SearchAndTemporaryWordColouringOffLooksPlain) {
  Panes panes;
  TEditorPropEx mode;
  mode.View().Colors().Item(ceFindStr).SetColor(0x0000FF);
  mode.View().Colors().Item(ceStressTmp).SetColor(0x00FF00);
  mode.SetColorSearchStr(false);
  mode.SetColorSimpleStress(false);
  panes.manager.ApplyEditMode(panes.Main(), mode, panes.settings);
  const TEditorColors& colors = panes.Main().View().Colors();
  EXPECT_EQ(colors.Item(ceFindStr).Color(), panes.Main().Font().Color());
  EXPECT_EQ(colors.Item(ceFindStr).BkColor(), mode.Color());
  EXPECT_EQ(colors.Item(ceStressTmp).Color(), panes.Main().Font().Color());
}

// A start file big enough to wait for the window gets its extension's mode
// once it is read, as any open does, and the box says so.
TEST(TKervApplicationFaultsTest, AWaitingStartFileGetsItsModeWhenRead) {
  ModesApp modes;
  modes.app.fs.AddFile("/home/user/big.c", "int main() { return 0; }\r\n");
  modes.app.fs.SetReportedSize("/home/user/big.c", TKervParameter::kShowWindowFirstBytes);
  TFrmKervMain window(modes.app.system, {"big.c"});
  ASSERT_TRUE(window.StartFileWaits());
  window.OpenWaitingStartFile();
  EXPECT_EQ(window.Modes().CurrentName(), "C-C++");
  EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("Cmb_EditMode"))->currentText(), QStringLiteral("C-C++"));
  window.close();
}

TEST(TKervApplicationFaultsTest, TheStartUpModeIsTheModeThePanesUse) {
  {
    // A mode named on the command line, without a file.
    ModesApp modes;
    TFrmKervMain window(modes.app.system, {"/eC-C++"});
    EXPECT_EQ(window.Modes().CurrentName(), "C-C++");
    EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("Cmb_EditMode"))->currentText(), QStringLiteral("C-C++"));
    window.close();
  }
  {
    // No choice by extension: the default mode is applied, as the box says.
    ModesApp modes("[Settings]\r\nCheckEditMode=0\r\n");
    modes.app.fs.AddFile("/home/user/a.c", "int x;\r\n");
    TFrmKervMain window(modes.app.system, {"a.c"});
    EXPECT_EQ(window.Modes().CurrentName(), kDefaultModeName);
    EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("Cmb_EditMode"))->currentText(), QString::fromUtf8("デフォルト"));
    window.close();
  }
  Closing = false;
}

TEST(TKervApplicationFaultsTest, AnAssociationAddedInTheEditModeDialogAppliesToTheNextFile) {
  ModesApp modes;
  TFrmKervMain window(modes.app.system, {});
  window.Place();
  QTimer::singleShot(0, &window, [] {
    auto* dialog = qobject_cast<TFrmEditModeSetting*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->Modes().PutAssociation("zz", "C-C++");
    dialog->accept();
  });
  window.Run(Act_Tool_EmSet);
  EXPECT_EQ(window.Modes().ModeForFile("/home/user/b.zz", false), "C-C++");
  window.close();
  Closing = false;
}

TEST(TKervApplicationFaultsTest, TheSettingsDialogEmptiesTheFileHistory) {
  ModesApp modes("[History]\r\nCount=1\r\nHistory0=/home/user/old.txt\r\n");
  TFrmKervMain window(modes.app.system, {});
  window.Place();
  QTimer::singleShot(0, &window, [] {
    auto* dialog = qobject_cast<TFrm_KervSetting*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* clear = dialog->findChild<QPushButton*>(QStringLiteral("Btn_ClearHistory"));
    ASSERT_NE(clear, nullptr);
    clear->click();
    dialog->reject();
  });
  window.Run(Act_Tool_Setting);
  EXPECT_EQ(modes.app.fs.ReadFile("/opt/kerv/kerv.ini").find("History0"), std::string::npos);
  EXPECT_NE(modes.app.DialogTexts().back().find("ファイル履歴を削除します"), std::string::npos);
  window.close();
  Closing = false;
}

TEST(TKervApplicationFaultsTest, CloseAsksThroughTheCommandsAndLeavesNoDanglingLock) {
  ModesApp modes;
  auto window = std::make_unique<TFrmKervMain>(modes.app.system, std::vector<std::string>{});
  window->Place();
  window->Editors().MainEditor().InsertText("typed");
  // Cancel in the save question keeps the window and its text.
  modes.app.dialogs.answers = {IDialogs::Answer::Cancel, IDialogs::Answer::Cancel};
  EXPECT_FALSE(modes.app.system.CanClose());
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  window->Editors().MainEditor().SetModified(false);
  EXPECT_TRUE(modes.app.system.CanClose());
  EXPECT_NE(modes.app.system.SettingManager().DocumentLock(), nullptr);
  window.reset();
  EXPECT_EQ(modes.app.system.SettingManager().DocumentLock(), nullptr);
  Closing = false;
}

TEST(TKervApplicationFaultsTest, AWindowFitsTheScreenWhateverTheSettingsSay) {
  ModesApp modes("[Window]\r\nUseUserSize=1\r\nUserSizeX=100000\r\nUserSizeY=40000\r\nUseUserPos=1\r\n"
                 "UserPosX=-5000\r\nUserPosY=90000\r\n[Settings]\r\nInfoBarTime=2147483647\r\n");
  TFrmKervMain window(modes.app.system, {});
  window.Place();
  QApplication::processEvents();
  const QRect area = window.screen()->availableGeometry();
  EXPECT_LE(window.width(), area.width());
  EXPECT_LE(window.height(), area.height());
  EXPECT_TRUE(area.contains(window.geometry().topLeft()));
  EXPECT_EQ(modes.app.system.SettingManager().InfoBar().InfoBarTime, 15);
  window.close();
  Closing = false;
}

TEST(TKervApplicationFaultsTest, LabelsShowTheirCharactersAndChecks) {
  ModesApp modes;
  TFrmKervMain window(modes.app.system, {});
  // An on/off menu item with an icon shows its check, not the icon.
  EXPECT_FALSE(window.Action(Act_View_WordWrap)->isIconVisibleInMenu());
  TFrmTypeFormat typeFormat(&window);
  QStringList symbols;
  for (QCheckBox* box : typeFormat.findChildren<QCheckBox*>()) symbols << box->text();
  for (const char* halfWidth : {"｡", "｢", "｣", "､", "･", "ｰ", "ﾞ", "ﾟ"}) {
    EXPECT_TRUE(symbols.contains(QString::fromUtf8(halfWidth))) << halfWidth;
  }
  EXPECT_FALSE(symbols.contains(QString::fromUtf8("¡")));
  TNumberingOptions numberingOptions;
  TFrmNumbering numbering(modes.app.codePage, window.Information(), numberingOptions, &window);
  bool labelled = false;
  for (QLabel* label : numbering.findChildren<QLabel*>()) {
    if (label->text() == QString::fromUtf8("開始番号(&S)")) labelled = label->buddy() != nullptr;
  }
  EXPECT_TRUE(labelled) << "the start-number label underlines its mnemonic";
  window.close();
  Closing = false;
}

TEST(TKervApplicationFaultsTest, HelpOpensInAWindowOfItsOwnWhenTheDesktopCannot) {
  testing::TestApp();
  testing::FakeApp app;
  app.fs.executableFolder = std::string(KERV_TEST_DATA_DIR) + "/../../app/";
  ASSERT_TRUE(app.system.CheckStartup());
  app.launcher.failOpen = true;
  TFrmKervMain window(app.system, {});
  window.Place();
  window.Run(Act_help);
  QWidget* help = window.InfoCommand().HelpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  window.close();
  Closing = false;
}

TEST(TKervApplicationFaultsTest, TheDefaultFontAppliesAtOnce) {
  ModesApp modes;
  TFrmKervMain window(modes.app.system, {});
  ASSERT_TRUE(window.Modes().Current().UseDafaultFont());
  modes.app.system.SettingManager().View().FontSize = 21;
  window.ApplySettings();
  EXPECT_EQ(window.Editors().MainEditor().Font().Size(), 21);
  window.close();
  Closing = false;
}

TEST(TKervApplicationFaultsTest, TheReplaceAllProgressWindowIsCentredAndShowsItsCaption) {
  testing::TestApp();
  QMainWindow main;
  main.setGeometry(100, 100, 600, 400);
  main.show();
  TFrm_Replacing progress(&main);
  progress.show();
  QApplication::processEvents();
  EXPECT_GE(progress.width(), progress.fontMetrics().horizontalAdvance(progress.windowTitle()));
  EXPECT_LE(std::abs(progress.geometry().center().x() - main.geometry().center().x()), 2);
  EXPECT_LE(std::abs(progress.geometry().center().y() - main.geometry().center().y()), 2);
}

TEST(TKervApplicationFaultsTest, QtsOwnTextsFollowTheUsersLanguage) {
  QApplication& app = testing::TestApp();
  const QString yes = QStringLiteral("&Yes");
  // A language Qt has no texts for changes nothing.
  EXPECT_FALSE(InstallQtTranslations(app, QLocale(QStringLiteral("xx_XX"))));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), yes);
  // A Japanese desktop reads はい on the buttons.
  ASSERT_TRUE(InstallQtTranslations(app, QLocale(QLocale::Japanese, QLocale::Japan)));
  EXPECT_TRUE(QCoreApplication::translate("QPlatformTheme", "&Yes").startsWith(QString::fromUtf8("はい")));
  for (QTranslator* translator : app.findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(translator);
    delete translator;
  }
}

}  // namespace
}  // namespace kerv
