#include "app/window/TFrmKervMain.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "app/TKervParameter.h"
#include "app/window/TKervEditorManager.h"
#include "app/window/TKervInformation.h"
#include "editor/TEditor.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/window/WindowTestSupport.h"
#include "ui/TEditorWidget.h"

namespace kerv {
namespace {

QApplication& App() { return testing::TestApp(); }

TEST(TFrmKervMainTest, UntitledStartShowsTheWelcome) {
  App();
  testing::FakeApp app;
  ASSERT_TRUE(app.system.CheckStartup());
  TFrmKervMain window(app.system, {});
  ASSERT_TRUE(window.StartedOk());
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("NewDoc.txt - KervEditor"));
  EXPECT_EQ(window.InfoText(), QString::fromUtf8("Welcome to KervEditor!"));
  EXPECT_EQ(window.CaretText(), QString::fromUtf8("1行: 0桁"));
  EXPECT_EQ(window.OverwriteText(), QString::fromUtf8("挿入"));
  EXPECT_EQ(window.CodeText(), QString::fromUtf8("Shift-JIS"));
  EXPECT_EQ(window.ReturnText(), QString::fromUtf8("CRLF"));
  window.Place();
  window.close();
  EXPECT_TRUE(Closing);
  Closing = false;
}

TEST(TFrmKervMainTest, CommandLineFileIsShownDecoded) {
  App();
  testing::FakeApp app;
  // "日本語" in Shift_JIS.
  app.fs.AddFile("/home/user/j.txt", "\x93\xFA\x96\x7B\x8C\xEA\r\n");
  ASSERT_TRUE(app.system.CheckStartup());
  TFrmKervMain window(app.system, {"j.txt"});
  ASSERT_TRUE(window.StartedOk());
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("/home/user/j.txt - KervEditor"));
  EXPECT_TRUE(window.DocumentText().startsWith(QString::fromUtf8("日本語")));
  EXPECT_EQ(window.CodeText(), QString::fromUtf8("Shift-JIS"));
  EXPECT_EQ(window.ReturnText(), QString::fromUtf8("CRLF"));
}

// A start file big enough for its read to show progress waits until the
// window shows; then it comes in with the command line's jump. A waiting file
// that cannot be read closes the window, as a refused start ends the process.
TEST(TFrmKervMainTest, ABigStartFileIsReadOnceTheWindowShows) {
  App();
  for (bool readable : {true, false}) {
    SCOPED_TRACE(readable);
    testing::FakeApp app;
    app.fs.AddFile("/home/user/big.txt", "first\r\nsecond\r\nthird\r\n");
    app.fs.SetReportedSize("/home/user/big.txt", TKervParameter::kShowWindowFirstBytes);
    ASSERT_TRUE(app.system.CheckStartup());
    TFrmKervMain window(app.system, {"/j2", "big.txt"});
    ASSERT_TRUE(window.StartedOk());
    ASSERT_TRUE(window.StartFileWaits());
    EXPECT_EQ(window.DocumentText(), QString());
    window.show();
    if (!readable) app.fs.RemoveFile("/home/user/big.txt");
    window.OpenWaitingStartFile();
    EXPECT_FALSE(window.StartFileWaits());
    if (!readable) {
      EXPECT_FALSE(window.isVisible());
      continue;
    }
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("/home/user/big.txt - KervEditor"));
    EXPECT_TRUE(window.DocumentText().startsWith(QStringLiteral("first")));
    EXPECT_TRUE(window.CaretText().startsWith(QStringLiteral("2"))) << "the jump waits for the file";
  }
  Closing = false;
}

TEST(TFrmKervMainTest, StatusBarShowsTheDetectedCodes) {
  App();
  struct Case {
    std::string bytes;
    const char* code;
    const char* returns;
  } cases[] = {
      {"\xEF\xBB\xBF" "a\nb", "UTF-8", "LF"},
      {std::string("\xFF\xFE" "a\0\r\0", 6), "Unicode", "CR"},
      {"\xE3\x81\x82\xE3\x81\x84\r\n", "UTF-8N", "CRLF"},
      {"plain", "ASCII", "CRLF"},
  };
  for (const Case& c : cases) {
    testing::FakeApp app;
    app.fs.AddFile("/home/user/c.txt", c.bytes);
    ASSERT_TRUE(app.system.CheckStartup());
    TFrmKervMain window(app.system, {"c.txt"});
    EXPECT_EQ(window.CodeText(), QString::fromUtf8(c.code)) << c.code;
    EXPECT_EQ(window.ReturnText(), QString::fromUtf8(c.returns)) << c.code;
  }
}

TEST(TFrmKervMainTest, LossyLoadIsReportedBeforeAnySave) {
  App();
  testing::FakeApp app;
  // U+00E9 has no Shift_JIS form.
  app.fs.AddFile("/home/user/e.txt", "caf\xC3\xA9\r\n");
  ASSERT_TRUE(app.system.CheckStartup());
  TFrmKervMain window(app.system, {"e.txt"});
  ASSERT_TRUE(window.StartedOk());
  ASSERT_EQ(app.dialogs.shown.size(), 1u);
  EXPECT_EQ(app.dialogs.shown[0].kind, "box");
  EXPECT_EQ(app.dialogs.shown[0].text.rfind("警告 - KervEditor|/home/user/e.txt", 0), 0u);
}

TEST(TFrmKervMainTest, UnreadableStartFileEndsTheStart) {
  App();
  testing::FakeApp app;
  app.fs.AddFolder("/home/user/folder");
  ASSERT_TRUE(app.system.CheckStartup());
  TFrmKervMain window(app.system, {"folder"});
  EXPECT_FALSE(window.StartedOk());
}

// A shown window with the keyboard focus on its editor, as a user meets it.
struct ShownWindow {
  testing::FakeApp app;
  std::unique_ptr<TFrmKervMain> window;
  explicit ShownWindow(std::vector<std::string> arguments = {},
                       std::vector<std::pair<std::string, std::string>> files = {}) {
    App();
    for (const auto& [name, bytes] : files) app.fs.AddFile(name, bytes);
    EXPECT_TRUE(app.system.CheckStartup());
    window = std::make_unique<TFrmKervMain>(app.system, std::move(arguments));
    window->Place();
    window->activateWindow();
    window->Editors().MainWidget().setFocus();
    QApplication::processEvents();
  }
  ~ShownWindow() {
    if (window) window->Editors().MainEditor().SetModified(false);
    window.reset();
    Closing = false;
  }
  TEditorWidget& Pane() { return window->Editors().ActiveWidget(); }
  void Keys(QWidget& target, QKeySequence sequence) {
    QTest::keySequence(&target, sequence);
    QApplication::processEvents();
  }
};

TEST(TFrmKervMainTest, SavingALossyLoadAsksWithNoAsTheDefault) {
  ShownWindow shown({"e.txt"}, {{"/home/user/e.txt", "one\r\n\x1A" "two\r\nthree\r\n"}});
  const std::string before = shown.app.fs.ReadFile("/home/user/e.txt");
  shown.app.dialogs.answers = {IDialogs::Answer::No};
  shown.Keys(shown.Pane(), QKeySequence(QStringLiteral("Ctrl+S")));
  EXPECT_EQ(shown.app.dialogs.lastButtons, IDialogs::Buttons::YesNoDefaultNo);
  EXPECT_EQ(shown.app.fs.ReadFile("/home/user/e.txt"), before);
}

TEST(TFrmKervMainTest, EveryActionIsInAMenuWithItsCaption) {
  ShownWindow shown;
  QStringList inMenus;
  std::function<void(QMenu*)> walk = [&](QMenu* menu) {
    for (QAction* action : menu->actions()) {
      if (action->menu()) walk(action->menu());
      else inMenus << action->objectName();
    }
  };
  for (QAction* top : shown.window->menuBar()->actions()) {
    EXPECT_TRUE(top->text().contains(QLatin1Char('&'))) << top->text().toStdString();
    walk(top->menu());
  }
  for (const TKervActionInfo& info : ActionTable()) {
    QAction* action = shown.window->Action(info.id);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QString::fromUtf8(info.caption));
    // The info bar's three live in the info bar's menu.
    if (info.id < Act_Infobar_LastInfo || info.id > Act_Infobar_Now) {
      EXPECT_TRUE(inMenus.contains(QString::fromLatin1(info.name))) << info.name;
    }
  }
  EXPECT_EQ(shown.window->Action(Act_File_save)->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
  // What is not built yet says so and does nothing.
  EXPECT_TRUE(shown.window->Action(Act_File_Print)->isEnabled());
  EXPECT_TRUE(shown.window->Action(Act_Win_Cascade)->isEnabled());
}

TEST(TFrmKervMainTest, CtrlPOpensThePrintDialogInDialogState4) {
  ShownWindow shown({"m.txt"}, {{"/home/user/m.txt", "a\tb\r\n"}});
  EXPECT_EQ(shown.window->Action(Act_File_Print)->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
  int stateWhileOpen = -1;
  QString caption;
  QTimer::singleShot(0, shown.window.get(), [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    caption = dialog->windowTitle();
    stateWhileOpen = shown.window->State().DialogState;
    dialog->close();
  });
  shown.Keys(shown.Pane(), QKeySequence(QStringLiteral("Ctrl+P")));
  EXPECT_EQ(caption, QString::fromUtf8("印刷"));
  EXPECT_EQ(stateWhileOpen, dlgPrint);
  EXPECT_EQ(shown.window->State().DialogState, dlgNone);
  // Closing wrote the dialog's section.
  EXPECT_NE(shown.app.fs.Contents(shown.app.system.SettingFilePath("kerv.ini")).find("[Printer]"), std::string::npos);
}

TEST(TFrmKervMainTest, TheRootObjectOwnsEveryCommandFamilyAndFreesThemWithTheWindow) {
  auto shown = std::make_unique<ShownWindow>();
  TKervSystem& system = shown->app.system;
  for (int family = 0; family < kCommandFamilyCount; ++family) {
    TKervCommand* command = system.Command(static_cast<TKervCommandFamily>(family));
    ASSERT_NE(command, nullptr) << family;
  }
  shown->window.reset();
  EXPECT_EQ(system.Command(TKervCommandFamily::Search), nullptr);
  Closing = false;
}

TEST(TFrmKervMainTest, TypeUndoRedoAndTheModifiedTitle) {
  ShownWindow shown;
  QTest::keyClicks(&shown.Pane(), QStringLiteral("abc"));
  EXPECT_EQ(shown.window->DocumentText(), QStringLiteral("abc"));
  EXPECT_EQ(shown.window->windowTitle(), QString::fromUtf8("NewDoc.txt[更新] - KervEditor"));
  EXPECT_EQ(shown.window->CaretText(), QString::fromUtf8("1行: 3桁"));
  shown.Keys(shown.Pane(), QKeySequence(QStringLiteral("Ctrl+Z")));
  EXPECT_EQ(shown.window->DocumentText(), QStringLiteral("ab"));
  EXPECT_TRUE(shown.window->Action(Act_Edit_Redo)->isEnabled());
  shown.Keys(shown.Pane(), QKeySequence(QStringLiteral("Ctrl+Y")));
  EXPECT_EQ(shown.window->DocumentText(), QStringLiteral("abc"));
  // Insert switches both panes and the status cell.
  shown.Keys(shown.Pane(), QKeySequence(Qt::Key_Insert));
  EXPECT_EQ(shown.window->OverwriteText(), QString::fromUtf8("上書"));
  EXPECT_TRUE(shown.window->Editors().MainEditor().OverWrite());
}

TEST(TFrmKervMainTest, SavingClearsTheModifiedTitle) {
  ShownWindow shown({"s.txt"}, {{"/home/user/s.txt", "old\r\n"}});
  QTest::keyClicks(&shown.Pane(), QStringLiteral("x"));
  EXPECT_EQ(shown.window->windowTitle(), QString::fromUtf8("/home/user/s.txt[更新] - KervEditor"));
  shown.Keys(shown.Pane(), QKeySequence(QStringLiteral("Ctrl+S")));
  EXPECT_EQ(shown.app.fs.ReadFile("/home/user/s.txt"), "xold\r\n");
  EXPECT_EQ(shown.window->windowTitle(), QString::fromUtf8("/home/user/s.txt - KervEditor"));
}

TEST(TFrmKervMainTest, BoxModeDisablesSearchAndFormatActions) {
  ShownWindow shown;
  QTest::keyClicks(&shown.Pane(), QStringLiteral("abcd"));
  shown.Keys(shown.Pane(), QKeySequence(QStringLiteral("Shift+Left")));
  EXPECT_TRUE(shown.window->Action(Act_Fmt_Upper)->isEnabled());
  shown.Keys(shown.Pane(), QKeySequence(QStringLiteral("Ctrl+B")));
  EXPECT_EQ(shown.window->Editors().MainEditor().SelectionMode(), smBox);
  EXPECT_TRUE(shown.window->Action(Act_Edit_BoxSelect)->isChecked());
  EXPECT_FALSE(shown.window->Action(Act_Srch_FindNext)->isEnabled());
  EXPECT_FALSE(shown.window->Action(Act_Fmt_Upper)->isEnabled());
  shown.Keys(shown.Pane(), QKeySequence(QStringLiteral("Ctrl+B")));
  EXPECT_TRUE(shown.window->Action(Act_Srch_FindNext)->isEnabled());
}

TEST(TFrmKervMainTest, FormatActionsStayEnabledWhileTheirMenuIsOpen) {
  ShownWindow shown;
  QTest::keyClicks(&shown.Pane(), QStringLiteral("abcd"));
  shown.Keys(shown.Pane(), QKeySequence(QStringLiteral("Shift+Home")));
  auto* menu = shown.window->findChild<QMenu*>(QStringLiteral("Mnu_Format"));
  ASSERT_NE(menu, nullptr);
  menu->popup(QPoint(10, 10));
  QApplication::processEvents();
  EXPECT_TRUE(shown.window->Action(Act_Fmt_Upper)->isEnabled());
  menu->hide();
  // The search box takes the focus: the formatting has nothing to act on.
  shown.window->findChild<QComboBox*>(QStringLiteral("Cmb_Search"))->setFocus();
  QApplication::processEvents();
  QApplication::processEvents();
  EXPECT_FALSE(shown.window->Action(Act_Fmt_Upper)->isEnabled());
}

TEST(TFrmKervMainTest, SplitPanesShareTheTextAndTheStatusFollowsTheFocus) {
  ShownWindow shown;
  QTest::keyClicks(&shown.Pane(), QStringLiteral("one"));
  shown.window->Run(Act_Win_VSplit);
  EXPECT_EQ(shown.window->State().SplitMode, 1);
  EXPECT_TRUE(shown.window->Action(Act_Win_VSplit)->isChecked());
  TEditorWidget* second = shown.window->Editors().SecondWidget();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Editor().RowStore().GetText(), "one");
  shown.Keys(shown.Pane(), QKeySequence(QStringLiteral("Ctrl+Shift+E")));
  EXPECT_EQ(&shown.window->Editors().ActiveWidget(), second);
  QTest::keyClicks(second, QStringLiteral("X"));
  QApplication::processEvents();
  EXPECT_EQ(shown.window->Editors().MainEditor().RowStore().GetText(), "Xone");
  EXPECT_EQ(shown.window->CaretText(), QString::fromUtf8("1行: 1桁"));
  // The other kind switches; the same kind again ends the split.
  shown.window->Run(Act_Win_HSplit);
  EXPECT_EQ(shown.window->State().SplitMode, 2);
  shown.window->Run(Act_Win_HSplit);
  EXPECT_EQ(shown.window->State().SplitMode, 0);
  EXPECT_TRUE(second->isHidden());
  EXPECT_EQ(&shown.window->Editors().ActiveWidget(), &shown.window->Editors().MainWidget());
}

TEST(TFrmKervMainTest, NotifyGoesToTheInfoBarOrToABox) {
  ShownWindow shown;
  TKervInformation& information = shown.window->Information();
  information.Notify("saved", IKervInformation::nlInformation);
  EXPECT_EQ(shown.window->InfoText(), QString::fromUtf8("[情報] saved"));
  information.Notify("plain", IKervInformation::nlPlain);
  EXPECT_EQ(shown.window->InfoText(), QStringLiteral("plain"));
  information.Notify("bad", IKervInformation::nlError);
  information.Notify("plain again", IKervInformation::nlPlain);
  information.ShowLastNotice();
  EXPECT_EQ(shown.window->InfoText(), QStringLiteral("plain again"));
  shown.window->Run(Act_View_Infobar);
  EXPECT_FALSE(shown.window->Action(Act_View_Infobar)->isChecked());
  const size_t boxes = shown.app.dialogs.shown.size();
  information.Notify("dropped", IKervInformation::nlPlain);
  information.Notify("broken", IKervInformation::nlError);
  ASSERT_EQ(shown.app.dialogs.shown.size(), boxes + 1);
  EXPECT_EQ(shown.app.dialogs.shown.back().text, "エラー - KervEditor|broken");
}

TEST(TFrmKervMainTest, WrapActionsFollowTheWindowWrapRules) {
  ShownWindow shown;
  shown.window->Run(Act_View_WinWrap);
  EXPECT_TRUE(shown.window->Action(Act_View_WinWrap)->isChecked());
  EXPECT_TRUE(shown.window->Action(Act_View_WordWrap)->isChecked());
  EXPECT_TRUE(shown.window->Editors().MainEditor().WordWrap());
  shown.window->Run(Act_View_WordWrap);
  EXPECT_FALSE(shown.window->Action(Act_View_WinWrap)->isChecked());
  EXPECT_FALSE(shown.window->Action(Act_View_WordWrap)->isChecked());
  EXPECT_FALSE(shown.window->Editors().Wrap().WindowWrap());
}

}  // namespace
}  // namespace kerv

namespace kerv {
namespace {

TEST(TFrmKervMainSearchTest, EnterInTheSearchBoxFindsTheWord) {
  App();
  testing::FakeApp app;
  app.fs.AddFile("/home/user/s.txt", "one two\r\nthree two\r\n");
  ASSERT_TRUE(app.system.CheckStartup());
  TFrmKervMain window(app.system, {"s.txt"});
  window.Place();
  auto* box = window.findChild<QComboBox*>(QStringLiteral("Cmb_Search"));
  ASSERT_NE(box, nullptr);
  box->setFocus();
  box->setEditText(QStringLiteral("two"));
  QTest::keyClick(box->lineEdit(), Qt::Key_Return);
  QApplication::processEvents();
  TEditor& editor = window.Editors().MainEditor();
  EXPECT_EQ(editor.SelText(), "two");
  window.Run(Act_Srch_FindNext);
  EXPECT_EQ(editor.Row(), 1);
  EXPECT_EQ(editor.SelText(), "two");
  window.close();
  Closing = false;
}

TEST(TFrmKervMainSearchTest, EnterInBoxModeNeitherSearchesNorReplaces) {
  ShownWindow shown({"s.txt"}, {{"/home/user/s.txt", "one two\r\nthree two\r\n"}});
  shown.Keys(shown.Pane(), QKeySequence(QStringLiteral("Ctrl+B")));
  TEditor& editor = shown.window->Editors().MainEditor();
  ASSERT_EQ(editor.SelectionMode(), smBox);
  for (const char* name : {"Cmb_Search", "Cmb_Replace"}) {
    auto* box = shown.window->findChild<QComboBox*>(QString::fromLatin1(name));
    ASSERT_NE(box, nullptr);
    box->setFocus();
    box->setEditText(QStringLiteral("two"));
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_FALSE(editor.Selected()) << name;
    EXPECT_EQ(editor.RowStore().GetText(), "one two\r\nthree two\r\n") << name;
  }
}

TEST(TFrmKervMainSearchTest, TypingDuringReplaceAllChangesNothing) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "aa bb aa\r\n";
  ShownWindow shown({"r.txt"}, {{"/home/user/r.txt", text}});
  shown.window->findChild<QComboBox*>(QStringLiteral("Cmb_Search"))->setEditText(QStringLiteral("aa"));
  shown.window->findChild<QComboBox*>(QStringLiteral("Cmb_Replace"))->setEditText(QStringLiteral("c"));
  TEditorWidget& pane = shown.Pane();
  bool lockedWhileRunning = false;
  // The first time the run lets events through, the user types and clicks.
  QTimer::singleShot(0, &pane, [&] {
    lockedWhileRunning = pane.EditLocked();
    QTest::keyClicks(&pane, QStringLiteral("typed"));
    QTest::mouseClick(pane.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
    QTest::keyClick(&pane, Qt::Key_Delete);
  });
  shown.window->Run(Act_Srch_ReplaceAll);
  QApplication::processEvents();
  EXPECT_TRUE(lockedWhileRunning);
  std::string expected;
  for (int i = 0; i < 20000; ++i) expected += "c bb c\r\n";
  EXPECT_EQ(shown.window->Editors().MainEditor().RowStore().GetText(), expected);
  EXPECT_FALSE(pane.EditLocked());
  // Once it ended, typing works again.
  QTest::keyClicks(&pane, QStringLiteral("z"));
  EXPECT_NE(shown.window->Editors().MainEditor().RowStore().GetText().find('z'), std::string::npos);
}

}  // namespace
}  // namespace kerv
