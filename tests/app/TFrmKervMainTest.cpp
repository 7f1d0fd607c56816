#include "app/TFrmKervMain.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "tests/app/AppTestSupport.h"

namespace kerv {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "kerv_app_qt_tests";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

TEST(TFrmKervMainTest, UntitledStartShowsTheWelcome) {
  App();
  testing::FakeApp app;
  ASSERT_TRUE(app.system.CheckStartup());
  TFrmKervMain window(app.system, {});
  ASSERT_TRUE(window.StartedOk());
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("NewDoc.txt - KervEditor"));
  EXPECT_EQ(window.InfoText(), QString::fromUtf8("Welcome to KervEditor!"));
  EXPECT_EQ(window.CaretText(), QString::fromUtf8("1行: 1桁"));
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
}

TEST(TFrmKervMainTest, UnreadableStartFileEndsTheStart) {
  App();
  testing::FakeApp app;
  app.fs.AddFolder("/home/user/folder");
  ASSERT_TRUE(app.system.CheckStartup());
  TFrmKervMain window(app.system, {"folder"});
  EXPECT_FALSE(window.StartedOk());
}

}  // namespace
}  // namespace kerv
