// Starting programs for real: arguments arrive whole, failures say why.

#include "platform/qt/QtLauncher.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "tests/QtTestApplication.h"

namespace kerv {
namespace {

TEST(QtLauncherTest, ArgumentsArriveWholeWithoutAShellBetween) {
  TestApplication<QCoreApplication>();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const std::string out = folder.filePath(QStringLiteral("args")).toStdString();
  // The script writes each argument on a line, then renames the file, so a
  // complete file is what appears.
  const std::string script = "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + out + ".part' && mv '" + out +
                             ".part' '" + out + "'";
  const std::vector<std::string> arguments{"/home/user/a b/it's.txt", ";", "$HOME", "\"q\"", "100%d"};
  std::vector<std::string> all{"-c", script, "sh"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  QtLauncher launcher;
  std::string error;
  ASSERT_TRUE(launcher.StartProgram("/bin/sh", all, error)) << error;
  QFile file(QString::fromStdString(out));
  ASSERT_TRUE(QTest::qWaitFor([&] { return file.exists(); }, 20000));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  std::string expected;
  for (const std::string& argument : arguments) expected += argument + "\n";
  EXPECT_EQ(file.readAll().toStdString(), expected);
}

TEST(QtLauncherTest, AProgramThatDoesNotStartIsReportedWithTheReason) {
  TestApplication<QCoreApplication>();
  QTemporaryDir folder;
  const QString plain = folder.filePath(QStringLiteral("plain"));
  QFile file(plain);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a program\n");
  file.close();
  for (const std::string& program : {std::string("/nonexistent/tool"), plain.toStdString(), folder.path().toStdString()}) {
    QtLauncher launcher;
    std::string error;
    EXPECT_FALSE(launcher.StartProgram(program, {"x"}, error)) << program;
    EXPECT_FALSE(error.empty()) << program;
  }
}

}  // namespace
}  // namespace kerv
