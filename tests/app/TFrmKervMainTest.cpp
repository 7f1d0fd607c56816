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
  EXPECT_EQ(window.CodeText(), QString::fromUtf8("Shift-JIS"));
  EXPECT_EQ(window.ReturnText(), QString::fromUtf8("CRLF"));
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

}  // namespace
}  // namespace kerv
