// kervtext image from outside, run as kervtext-render: arguments, exit
// status, the one-line messages and the images written, decoded with Qt.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/kervtext/TempFolderTest.h"
#include "tests/QtTestApplication.h"

namespace {

struct Result {
  int status = -1;
  std::string err;
};

class KervTextImageTest : public kerv::testing::TempFolderTest {
 protected:
  static void SetUpTestSuite() { kerv::TestApplication<QGuiApplication>(); }
  bool Exists(const std::string& name) { return std::filesystem::exists(dir_ + name); }
  // Runs "kervtext-render image" with arguments (already quoted for the shell).
  Result Run(const std::string& arguments) {
    const std::string errPath = dir_ + "stderr";
    // A runtime folder of its own keeps Qt's start-up notes off standard error.
    const std::string command = "XDG_RUNTIME_DIR=" + dir_ + " " + std::string(KERVTEXT_RENDER_PATH) + " image " +
                                arguments + " >/dev/null 2>" + errPath;
    Result result;
    const int status = std::system(command.c_str());
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = Read(errPath);
    return result;
  }
  QImage Image(const std::string& name) { return QImage(QString::fromStdString(dir_ + name)); }
  // A fixed font, so that the sizes below do not depend on the machine's default.
  std::string Settings(const std::string& name, const std::string& extra = {}) {
    return Write(name, "[VuvESettings]\r\nMatchType=1\r\nFontName=DejaVu Sans\r\nFontSize=12\r\n" + extra);
  }
};

TEST_F(KervTextImageTest, WholeTextBecomesOneImageOfTheTypeAskedFor) {
  const std::string text = Write("t.txt", "first line\r\nsecond\r\n\r\n");
  const std::string settings = Settings("s.tg2");
  struct Case {
    const char* out;
    const char* format;
    const char* qtFormat;
    int depth;
  } cases[] = {
      {"a.png", "", "png", 32},
      {"a.jpg", "", "jpg", 32},
      {"a.bmp", "", "bmp", 24},
      {"b.img", "--format bmp1", "bmp", 1},
      {"c.x", "--format bmp4", "bmp", 4},
      {"d.x", "--format=bmp8", "bmp", 8},
      {"e.x", "--format jpeg", "jpg", 32},
  };
  QSize size;
  for (const Case& c : cases) {
    const Result r = Run(std::string(c.format) + " --settings " + settings + " " + text + " " + dir_ + c.out);
    ASSERT_EQ(r.status, 0) << c.out << r.err;
    EXPECT_EQ(r.err, "") << c.out;
    const QImage image(QString::fromStdString(dir_ + c.out), c.qtFormat);
    ASSERT_FALSE(image.isNull()) << c.out;
    if (size.isEmpty()) size = image.size();
    EXPECT_EQ(image.size(), size) << c.out;
    if (c.depth < 24) {
      EXPECT_EQ(static_cast<uint8_t>(Read(dir_ + c.out)[28]), c.depth) << c.out;
    }
  }
  // Two lines drawn: the blank line at the end is not.
  EXPECT_GT(size.width(), size.height());
  const Result oneLine = Run("--settings " + settings + " " + Write("one.txt", "first line") + " " + dir_ + "one.png");
  ASSERT_EQ(oneLine.status, 0);
  EXPECT_EQ(Image("one.png").height() * 2, size.height());
  // JPEG files are progressive (SOF2).
  EXPECT_NE(Read(dir_ + "a.jpg").find("\xFF\xC2"), std::string::npos);
}

TEST_F(KervTextImageTest, EachLineOfARangeBecomesANumberedImage) {
  const std::string text = Write("t.txt", "first\r\nsecond\r\n\r\nfourth\r\nfifth\r\nsixth\r\n");
  const std::string settings = Settings("s.tg2", "CntCnv_FileName=img\r\nCntCnvFileType=6\r\n");
  std::filesystem::create_directory(dir_ + "out");
  std::filesystem::create_directory(dir_ + "slash");
  ASSERT_EQ(Run("--each-line --lines 2-5 --settings " + settings + " " + text + " " + dir_ + "out").status, 0);
  ASSERT_EQ(Run("--each-line --lines=2-5 --settings " + settings + " " + text + " " + dir_ + "slash/").status, 0);
  for (const char* folder : {"out/", "slash/"}) {
    for (const char* name : {"img000.jpeg", "img001.jpeg", "img002.jpeg"}) {
      EXPECT_FALSE(Image(std::string(folder) + name).isNull()) << folder << name;
    }
    EXPECT_FALSE(Exists(std::string(folder) + "img003.jpeg")) << folder;
  }
  // --format wins over the settings' type; without --lines every line goes.
  std::filesystem::create_directory(dir_ + "all");
  ASSERT_EQ(Run("--each-line --format png " + text + " " + dir_ + "all").status, 0);
  for (const char* name : {"000.png", "001.png", "002.png", "003.png", "004.png"}) {
    EXPECT_FALSE(Image(std::string("all/") + name).isNull()) << name;
  }
  EXPECT_FALSE(Exists("all/005.png"));
}

TEST_F(KervTextImageTest, AnOlderSettingsRecordIsRead) {
  std::string record(852, '\0');
  record[0] = 1;     // whole text
  record[5] = 1;     // add the margins to the fitted size
  record[272] = 10;  // left
  record[276] = 30;  // right
  record[280] = 20;  // top
  record[284] = 40;  // bottom
  record[304] = 1;   // fit the text
  record[584] = 12;  // points
  const std::string font = "DejaVu Sans";
  record[596] = static_cast<char>(font.size());
  record.replace(597, font.size(), font);
  const std::string text = Write("t.txt", "sample");
  ASSERT_EQ(Run("--settings " + Write("old.tgs", record) + " " + text + " " + dir_ + "old.png").status, 0);
  ASSERT_EQ(Run("--settings " + Settings("plain.tg2") + " " + text + " " + dir_ + "plain.png").status, 0);
  EXPECT_EQ(Image("old.png").size(), Image("plain.png").size() + QSize(40, 60));
}

TEST_F(KervTextImageTest, FailuresExitOneWithOneLineAndWriteNothing) {
  const std::string text = Write("t.txt", "text\r\n");
  const std::string out = dir_ + "out.png";
  std::filesystem::create_directory(dir_ + "folder");
  const std::string percent = Settings("p.tg2", "CntCnv_FileName=a%s\r\n");
  struct Case {
    std::string arguments;
    const char* says;
  } cases[] = {
      {dir_ + "missing.txt " + out, "missing.txt"},
      {"--format gif " + text + " " + out, "--format"},
      {"--lines 1-2 " + text + " " + out, "--each-line"},
      {"--each-line --lines 3-1 " + text + " " + dir_ + "folder", "--lines"},
      {"--each-line " + text + " " + dir_ + "nowhere", "nowhere"},
      {"--bogus " + text + " " + out, "--bogus"},
      {text, "FILE and OUT"},
      {Write("blank.txt", "\r\n  \r\n") + " " + out, "0"},
      {"--settings " + Write("short.tgs", "abc") + " " + text + " " + out, "852"},
      {"--settings " + Write("bad.tg2", "[Other]\r\n") + " " + text + " " + out, ""},
      {"--each-line --settings " + percent + " " + text + " " + dir_ + "folder", "%s"},
      {text + " " + dir_ + "no/such/folder/out.png", "out.png"},
  };
  for (const Case& c : cases) {
    const Result r = Run(c.arguments);
    EXPECT_EQ(r.status, 1) << c.arguments;
    EXPECT_EQ(r.err.rfind("kervtext image: ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_FALSE(Exists("out.png")) << c.arguments;
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir_ + "folder"));
}

}  // namespace
