// Several editor windows as the window meets them: the requests of the
// others honoured by the real window, the window menu, dropped files and
// where a later window opens.

#include <gtest/gtest.h>

#include <QAction>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

#include "app/window/TFrmKervMain.h"
#include "app/window/TKervEditorManager.h"
#include "document/TKervFileManager.h"
#include "editor/TEditor.h"
#include "ui/TEditorWidget.h"
#include "editmode/TKervEditModeManager.h"
#include "platform/fake/FakeWindowChannel.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/window/WindowTestSupport.h"

namespace kerv {
namespace {

namespace msg = window_message;

TWindowMessage Request(uint32_t message, int64_t wParam = 0, int64_t lParam = 0) {
  TWindowMessage request;
  request.message = message;
  request.wParam = wParam;
  request.lParam = lParam;
  return request;
}

// An editor window on a shared bus, with a peer that sends it requests.
struct WindowOnBus {
  FakeWindowBus bus;
  FakeWindowChannel channel{bus};
  FakeWindowChannel peer{bus};
  testing::FakeApp app;
  std::unique_ptr<TFrmKervMain> window;
  explicit WindowOnBus(const std::string& kervIni = "") {
    testing::TestApp();
    app.platform.channel = &channel;
    if (!kervIni.empty()) app.fs.AddFile("/opt/kerv/kerv.ini", kervIni);
    EXPECT_TRUE(app.system.CheckStartup());
  }
  void Open(std::vector<std::string> arguments = {}) {
    window = std::make_unique<TFrmKervMain>(app.system, std::move(arguments));
    window->Place();
    QApplication::processEvents();
  }
  ~WindowOnBus() {
    if (window) window->Editors().MainEditor().SetModified(false);
    window.reset();
    Closing = false;
  }
  std::optional<TWindowAnswer> Ask(const TWindowMessage& request) {
    auto answer = peer.Send(channel.Number(), request, 500);
    QApplication::processEvents();
    return answer;
  }
};

TEST(TKervSeveralWindowsTest, TheWindowHonoursTheOtherWindowsRequests) {
  WindowOnBus on;
  on.app.fs.AddFile("/opt/kerv/Plain.em2", "[Settings]\r\nFormat=KervEditMode\r\n");
  on.Open();
  // Place: the window puts itself, frame and all, where it is asked.
  ASSERT_TRUE(on.Ask(Request(msg::kPlaceWindow, (int64_t{40} << 32) | 30, (int64_t{500} << 32) | 400)));
  EXPECT_EQ(on.window->frameGeometry().topLeft(), QPoint(40, 30));
  EXPECT_EQ(on.window->frameGeometry().size(), QSize(500, 400));
  // Reload edit modes: an association another window added applies here.
  on.app.fs.AddFile("/opt/kerv/editmode.ini", "zz=Plain\r\n");
  ASSERT_TRUE(on.Ask(Request(msg::kReloadEditModes)));
  EXPECT_EQ(on.window->Modes().ModeForFile("/home/user/a.zz", false), "Plain");
  // Minimize, and restore.
  ASSERT_TRUE(on.Ask(Request(msg::kMinimize)));
  EXPECT_TRUE(on.window->isMinimized());
  ASSERT_TRUE(on.Ask(Request(msg::kRestore)));
  EXPECT_FALSE(on.window->isMinimized());
}

TEST(TKervSeveralWindowsTest, TheWindowMenuListsTheRunningWindows) {
  WindowOnBus on;
  // Window 0 runs already, showing /home/user/first.txt.
  on.peer.SetHandler([](const TWindowMessage& message) {
    TWindowAnswer answer;
    if (message.message == msg::kWindowNumber) answer.result = 0;
    if (message.message == msg::kCaption) answer.text = "/home/user/first.txt[更新] - KervEditor";
    if (message.message == msg::kFileName) answer.text = "/home/user/first.txt";
    return answer;
  });
  ASSERT_EQ(on.peer.Open([] { return 0; }), 0);
  on.Open();
  ASSERT_EQ(on.channel.Number(), 1);
  auto* menu = on.window->findChild<QMenu*>(QStringLiteral("Mnu_Window"));
  ASSERT_NE(menu, nullptr);
  emit menu->aboutToShow();
  QStringList items;
  QAction* checked = nullptr;
  for (QAction* action : menu->actions()) {
    if (action->objectName().startsWith(QStringLiteral("Mnu_WindowList"))) {
      items << action->text();
      if (action->isChecked()) checked = action;
    }
  }
  EXPECT_EQ(items, (QStringList{QString::fromUtf8("&1: first.txt[更新]"), QStringLiteral("&2: NewDoc.txt")}));
  ASSERT_NE(checked, nullptr);
  EXPECT_EQ(checked->data().toInt(), 1);
  // Rebuilt each time: opening it again lists them once.
  emit menu->aboutToShow();
  int listed = 0;
  for (QAction* action : menu->actions()) listed += action->objectName().startsWith(QStringLiteral("Mnu_WindowList"));
  EXPECT_EQ(listed, 2);
  // Choosing the first brings window 0 forward; next and previous step round.
  on.peer.received.clear();
  menu->actions()[menu->actions().size() - 2]->trigger();
  ASSERT_FALSE(on.peer.received.empty());
  EXPECT_EQ(on.peer.received.back().message, msg::kBringToFront);
  on.peer.received.clear();
  on.window->Run(Act_Win_NextWindow);
  ASSERT_FALSE(on.peer.received.empty());
  EXPECT_EQ(on.peer.received.back().message, msg::kBringToFront);
}

TEST(TKervSeveralWindowsTest, DroppedFilesOpenHereAndEachFurtherOneInAWindowOfItsOwn) {
  WindowOnBus on;
  for (const char* name : {"/home/user/a b.txt", "/home/user/c.txt", "/home/user/d;e.txt"}) on.app.fs.AddFile(name, "text\r\n");
  on.Open();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QStringLiteral("/home/user/a b.txt")), QUrl::fromLocalFile(QStringLiteral("/home/user/c.txt")),
                QUrl::fromLocalFile(QStringLiteral("/home/user/d;e.txt"))});
  // Onto the editor pane, as from a file manager: the window takes it.
  QWidget* pane = on.window->Editors().MainWidget().viewport();
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(pane, &enter);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(on.window.get(), &drop);
  QApplication::processEvents();
  EXPECT_EQ(on.window->FileManager()->FileName(), "/home/user/a b.txt");
  ASSERT_EQ(on.app.launcher.launched.size(), 2u);
  EXPECT_EQ(on.app.launcher.launched[0], std::vector<std::string>{"/home/user/c.txt"});
  EXPECT_EQ(on.app.launcher.launched[1], std::vector<std::string>{"/home/user/d;e.txt"});
}

TEST(TKervSeveralWindowsTest, OnlyTheFirstWindowTakesTheSavedPlace) {
  const std::string ini = "[Window]\r\nUseUserPos=1\r\nUserPosX=60\r\nUserPosY=50\r\n";
  {
    WindowOnBus first(ini);
    first.Open();
    EXPECT_EQ(first.window->geometry().topLeft(), QPoint(60, 50));
  }
  WindowOnBus later(ini);
  later.peer.SetHandler([](const TWindowMessage& message) {
    TWindowAnswer answer;
    if (message.message == msg::kWindowNumber) answer.result = 0;
    return answer;
  });
  ASSERT_EQ(later.peer.Open([] { return 0; }), 0);
  later.Open();
  EXPECT_NE(later.window->geometry().topLeft(), QPoint(60, 50));
}

}  // namespace
}  // namespace kerv
