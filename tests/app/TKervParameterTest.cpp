#include "app/TKervParameter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/app/AppTestSupport.h"

namespace kerv {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TKervParameterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.txt", "b.txt", "My Document.txt", "b c.txt"}) app_.fs.AddFile(std::string("/home/user/") + name, "x");
  }
  TKervParameter Parse(std::vector<std::string> args) { return TKervParameter(app_.system, std::move(args)); }
  testing::FakeApp app_;
};

TEST_F(TKervParameterTest, NoArgumentsSetNothing) {
  TKervParameter p = Parse({});
  EXPECT_EQ(p.CharCode, 12);
  EXPECT_EQ(p.JumpLine, -1);
  EXPECT_TRUE(p.FileName.empty());
  EXPECT_TRUE(p.Options.empty());
  p.LaunchRest();
  EXPECT_THAT(app_.launcher.launched, IsEmpty());
}

TEST_F(TKervParameterTest, OptionTable) {
  struct Case {
    const char* option;
    int charCode;
    int jumpLine;
    bool jumpToEnd, readOnly, minimized, normal;
    const char* mode;
  } cases[] = {
      {"/cs", 1, -1, false, false, false, false, ""},  {"/cj", 2, -1, false, false, false, false, ""},
      {"/ce", 3, -1, false, false, false, false, ""},  {"/cu", 4, -1, false, false, false, false, ""},
      {"/cb", 5, -1, false, false, false, false, ""},  {"/c8", 6, -1, false, false, false, false, ""},
      {"/cn", 7, -1, false, false, false, false, ""},  {"/cz", 12, -1, false, false, false, false, ""},
      {"/c", 12, -1, false, false, false, false, ""},  {"/j12", 12, 12, false, false, false, false, ""},
      {"/jabc", 12, 0, false, false, false, false, ""}, {"/j", 12, -1, false, false, false, false, ""},
      {"/je", 12, -1, true, false, false, false, ""},  {"-b", 12, -1, false, true, false, false, ""},
      {"/n", 12, -1, false, false, true, false, ""},   {"-x", 12, -1, false, false, false, true, ""},
      {"/x", 12, -1, false, false, false, true, ""},   {"/X", 12, -1, false, false, false, false, ""},
      {"/eHTML", 12, -1, false, false, false, false, "HTML"},
  };
  for (const Case& c : cases) {
    TKervParameter p = Parse({c.option, "a.txt"});
    EXPECT_EQ(p.CharCode, c.charCode) << c.option;
    EXPECT_EQ(p.JumpLine, c.jumpLine) << c.option;
    EXPECT_EQ(p.JumpToEnd, c.jumpToEnd) << c.option;
    EXPECT_EQ(p.ReadOnly, c.readOnly) << c.option;
    EXPECT_EQ(p.ShowMinimized, c.minimized) << c.option;
    EXPECT_EQ(p.ShowNormal, c.normal) << c.option;
    EXPECT_EQ(p.EditModeName, c.mode) << c.option;
    // Known or not, every option is passed on.
    EXPECT_EQ(p.Options, std::string(c.option) + " ") << c.option;
    EXPECT_EQ(p.FileName, "/home/user/a.txt") << c.option;
  }
}

TEST_F(TKervParameterTest, FurtherFilesGoToANewProcessWithTheOptions) {
  TKervParameter p = Parse({"/cu", "/je", "a.txt", "b.txt"});
  EXPECT_EQ(p.CharCode, 4);
  EXPECT_TRUE(p.JumpToEnd);
  EXPECT_EQ(p.FileName, "/home/user/a.txt");
  EXPECT_EQ(p.Options, "/cu /je ");
  EXPECT_EQ(p.RestFiles, "b.txt ");
  p.LaunchRest();
  ASSERT_EQ(app_.launcher.launched.size(), 1u);
  EXPECT_THAT(app_.launcher.launched[0], ElementsAre("/cu", "/je", "b.txt"));

  // The new process opens b.txt the same way and starts nobody else.
  TKervParameter second = Parse(app_.launcher.launched[0]);
  EXPECT_EQ(second.FileName, "/home/user/b.txt");
  EXPECT_EQ(second.CharCode, 4);
  second.LaunchRest();
  EXPECT_EQ(app_.launcher.launched.size(), 1u);
}

TEST_F(TKervParameterTest, SplitNameOfAnExistingFileIsJoined) {
  TKervParameter p = Parse({"My", "Document.txt"});
  EXPECT_EQ(p.FileName, "/home/user/My Document.txt");
  EXPECT_TRUE(p.RestFiles.empty());
  p.LaunchRest();
  EXPECT_THAT(app_.launcher.launched, IsEmpty());
}

TEST_F(TKervParameterTest, FurtherNamesWithBlanksStayWhole) {
  TKervParameter p = Parse({"a.txt", "b c.txt"});
  p.LaunchRest();
  ASSERT_EQ(app_.launcher.launched.size(), 1u);
  EXPECT_THAT(app_.launcher.launched[0], ElementsAre("b c.txt"));
  EXPECT_EQ(Parse(app_.launcher.launched[0]).FileName, "/home/user/b c.txt");
}

TEST_F(TKervParameterTest, OptionAfterTheNameBelongsToTheNextProcess) {
  TKervParameter p = Parse({"a.txt", "/b"});
  EXPECT_FALSE(p.ReadOnly);
  EXPECT_EQ(p.RestFiles, "/b ");
  p.LaunchRest();
  TKervParameter second = Parse(app_.launcher.launched.at(0));
  EXPECT_TRUE(second.ReadOnly);
  EXPECT_TRUE(second.FileName.empty());
}

TEST_F(TKervParameterTest, AbsolutePathsAreNamesNotOptions) {
  app_.fs.AddFile("/b", "root file");
  struct Case {
    const char* argument;
    bool option;
  } cases[] = {{"/b", false}, {"/x", true}, {"/home/user/a.txt", false}, {"/tmp", false}, {"-/x/y", true}, {"a", false}};
  for (const Case& c : cases) EXPECT_EQ(TKervParameter::IsOption(app_.fs, c.argument), c.option) << c.argument;

  TKervParameter p = Parse({"/x", "/home/user/a.txt"});
  EXPECT_TRUE(p.ShowNormal);
  EXPECT_EQ(p.FileName, "/home/user/a.txt");
}

TEST_F(TKervParameterTest, LinksResolveToTheirTargets) {
  app_.fs.AddLink("/home/user/link.txt", "/home/user/a.txt");
  EXPECT_EQ(Parse({"link.txt"}).FileName, "/home/user/a.txt");
}

TEST_F(TKervParameterTest, MissingFileIsCreatedOnYes) {
  app_.dialogs.answers = {IDialogs::Answer::Yes};
  TKervParameter p = Parse({"new.txt"});
  EXPECT_EQ(p.FileName, "/home/user/new.txt");
  EXPECT_TRUE(app_.fs.FileExists("/home/user/new.txt"));
  EXPECT_EQ(app_.fs.Contents("/home/user/new.txt"), "");
  EXPECT_THAT(app_.DialogTexts(),
              ElementsAre("box:確認 - KervEditor|/home/user/new.txt\r\nファイルが存在しません。作成しますか？"));
}

TEST_F(TKervParameterTest, MissingFileStaysUnopenedOnNo) {
  app_.dialogs.answers = {IDialogs::Answer::No};
  EXPECT_TRUE(Parse({"new.txt"}).FileName.empty());
  EXPECT_FALSE(app_.fs.FileExists("/home/user/new.txt"));
}

TEST_F(TKervParameterTest, FileThatCannotBeCreatedShowsError10051) {
  app_.dialogs.answers = {IDialogs::Answer::Yes};
  EXPECT_TRUE(Parse({"/nowhere/new.txt"}).FileName.empty());
  ASSERT_EQ(app_.dialogs.shown.size(), 2u);
  EXPECT_EQ(app_.dialogs.shown[1].text, "エラー - KervEditor|/nowhere/new.txt\r\nファイルの作成に失敗しました。");
}

}  // namespace
}  // namespace kerv
