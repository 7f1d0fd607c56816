// The window's text-to-image commands: Ctrl+E opens the converter with
// dialog state 3, a single conversion makes the one image window and
// enables its action.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "app/image/TFrmImageWindow.h"
#include "app/image/TFrmVuvECnv.h"
#include "app/window/TFrmKervMain.h"
#include "tests/app/AppTestSupport.h"
#include "tests/QtTestApplication.h"

namespace kerv {
namespace {

TEST(VuvEWindowTest, CtrlEOpensTheConverterAndAConversionMakesTheImageWindow) {
  TestApplication<QApplication>();
  testing::FakeApp app;
  app.fs.AddFile("/home/user/t.txt", "first\r\nsecond\r\n");
  ASSERT_TRUE(app.system.CheckStartup());
  TFrmKervMain window(app.system, {"t.txt"});
  ASSERT_TRUE(window.StartedOk());
  EXPECT_TRUE(window.Action(Act_Tool_VuvE)->isEnabled());
  EXPECT_EQ(window.Action(Act_Tool_VuvE)->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
  EXPECT_FALSE(window.Action(Act_Tool_ImageWindow)->isEnabled());
  EXPECT_EQ(window.State().ImageWindow, nullptr);

  int stateWhileOpen = -1;
  for (int run = 0; run < 2; ++run) {
    QTimer::singleShot(0, &window, [&] {
      auto* dialog = qobject_cast<TFrm_VuvECnv*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      stateWhileOpen = window.State().DialogState;
      // Opening again while it is open does nothing.
      window.Run(Act_Tool_VuvE);
      dialog->Btn_Convert->click();
    });
    window.Run(Act_Tool_VuvE);
    EXPECT_EQ(stateWhileOpen, dlgImage);
    EXPECT_EQ(window.State().DialogState, dlgNone);
  }
  // One image window, made by the first conversion, filled by the last.
  TFrm_ImageWindow* image = window.State().ImageWindow;
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(image->HasImage());
  EXPECT_TRUE(image->isVisible());
  EXPECT_EQ(image->parentWidget(), nullptr);
  EXPECT_TRUE(window.Action(Act_Tool_ImageWindow)->isEnabled());
  image->close();
  window.Run(Act_Tool_ImageWindow);
  EXPECT_TRUE(image->isVisible());
  window.close();
  Closing = false;
}

}  // namespace
}  // namespace kerv
