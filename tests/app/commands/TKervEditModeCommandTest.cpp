#include "app/commands/TKervEditModeCommand.h"

#include <gtest/gtest.h>

#include <deque>

#include "editor/TEditor.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv {
namespace {

const std::string kFolder = "/settings/";

struct Recorder : IEditModeUser, IKervInformation {
  void NoticeError(const std::string& text) override { shown.push_back("notice: " + text); }
  void ShowError(const std::string& text) override { shown.push_back("error: " + text); }
  void ShowErrorCode(int code, const std::optional<std::string>&) override {
    shown.push_back("code " + std::to_string(code));
  }
  bool Confirm(const std::string& text) override {
    shown.push_back("ask: " + text);
    bool answer = answers.empty() || answers.front();
    if (!answers.empty()) answers.pop_front();
    return answer;
  }
  void RefuseName(const std::string& text) override { shown.push_back("refused: " + text); }
  Answer MessageBox(const std::string& text, int, int) override {
    shown.push_back("box: " + text);
    return maOk;
  }
  void Notify(const std::string& text, int) override { shown.push_back("notify: " + text); }
  std::deque<bool> answers;
  std::vector<std::string> shown;
};

struct FakeEditors : IKervEditors {
  TEditor& ActiveEditor() override { return main; }
  TEditor& MainEditor() override { return main; }
  TEditor* SecondEditor() override { return split ? &second : nullptr; }
  bool EditorHasFocus() override { return true; }
  TEditor main;
  TEditor second;
  bool split = false;
};

class TKervEditModeCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    fs_.AddFolder("/settings");
    AddMode("Plain", false);
    AddMode("Wrap", true);
    fs_.AddFile(kFolder + "Bad.em2", "not a mode");
    fs_.AddFile(kFolder + "editmode.ini", "txt=Plain\r\nlog=Wrap\r\nmd=Gone\r\n");
    modes_.LoadAssociations();
    command_.NoticeUndoClear = [this] { return noticeUndoClear_; };
  }
  void AddMode(const std::string& name, bool wrap) {
    TEditorPropEx set;
    set.ApplyFactorySettings();
    set.SetWordWrap(wrap);
    set.SetAuthor(name);
    modes_.SaveMode(set, name);
  }
  std::string Sjis(const char* utf8) { return codePage_.Utf8ToCp932(utf8, nullptr); }

  FakeFileSystem fs_;
  IconvCodePage codePage_;
  Recorder user_;
  FakeEditors editors_;
  std::vector<std::pair<TEditor*, std::string>> applied_;
  TKervEditModeManager modes_{fs_, codePage_, user_, kFolder};
  TKervEditModeCommand command_{modes_, editors_, user_,
                                [this](TEditor& editor, const TEditorPropEx& mode) {
                                  applied_.emplace_back(&editor, mode.Author());
                                }};
  bool noticeUndoClear_ = true;
};

TEST_F(TKervEditModeCommandTest, ASwitchThatRewrapsIsAskedAboutAndAppliedToBothPanes) {
  ASSERT_TRUE(command_.ChangeMode("Plain", true, false).applied);
  command_.FillModeBox(false);
  applied_.clear();
  editors_.split = true;

  user_.answers = {false};
  TKervModeCommandResult result = command_.ChangeMode("Wrap", true, false);
  EXPECT_EQ(result.outcome, TModeSwitch::Declined);
  EXPECT_FALSE(result.applied);
  EXPECT_TRUE(applied_.empty());
  EXPECT_EQ(command_.ModeBox().names[static_cast<size_t>(command_.ModeBox().selected)], "Plain");  // set back

  result = command_.ChangeMode("Wrap", true, false);
  EXPECT_EQ(result.outcome, TModeSwitch::Changed);
  EXPECT_EQ(applied_, (std::vector<std::pair<TEditor*, std::string>>{{&editors_.main, "Wrap"},
                                                                     {&editors_.second, "Wrap"}}));
  EXPECT_EQ(user_.shown.size(), 2u);  // one question each time
  EXPECT_EQ(command_.ModeBox().names[static_cast<size_t>(command_.ModeBox().selected)], "Wrap");

  // The same mode again is nothing unless forced; without the setting nothing is asked.
  EXPECT_EQ(command_.ChangeMode("Wrap", true, false).outcome, TModeSwitch::Unchanged);
  noticeUndoClear_ = false;
  EXPECT_EQ(command_.ChangeMode("Plain", true, false).outcome, TModeSwitch::Changed);
  EXPECT_EQ(user_.shown.size(), 2u);
}

TEST_F(TKervEditModeCommandTest, AModeThatDoesNotLoadKeepsTheCurrentOne) {
  command_.ChangeMode("Plain", false, false);
  command_.FillModeBox(false);
  applied_.clear();
  EXPECT_EQ(command_.ChangeMode("Bad", false, false).outcome, TModeSwitch::Failed);
  EXPECT_TRUE(applied_.empty());
  EXPECT_EQ(modes_.CurrentName(), "Plain");
  EXPECT_EQ(command_.ModeBox().names[static_cast<size_t>(command_.ModeBox().selected)], "Plain");
}

TEST_F(TKervEditModeCommandTest, TheFilesExtensionChoosesTheMode) {
  EXPECT_TRUE(command_.ChangeModeForFile("/docs/a.TXT", true).applied);
  EXPECT_EQ(modes_.CurrentName(), "Plain");
  // A deleted mode: the notice once, then the default mode.
  user_.shown.clear();
  EXPECT_TRUE(command_.ChangeModeForFile("/docs/a.md", false).applied);
  EXPECT_EQ(modes_.CurrentName(), Sjis("デフォルト"));
  EXPECT_EQ(user_.shown.size(), 1u);
  command_.ChangeModeForFile("/docs/b.md", false);
  EXPECT_EQ(user_.shown.size(), 1u);
}

TEST_F(TKervEditModeCommandTest, TheModeBoxListsTheDefaultFirstAndRefusesUnknownNames) {
  command_.ChangeMode("Wrap", false, false);
  int changes = 0;
  command_.OnModeBoxChange = [&changes](const TKervModeBox&) { ++changes; };
  // Before the first fill a name is simply added (the switch above added its own).
  EXPECT_TRUE(command_.SelectInModeBox("Early"));
  EXPECT_EQ(command_.ModeBox().names, (std::vector<std::string>{"Wrap", "Early"}));
  EXPECT_TRUE(command_.FillModeBox(false));
  EXPECT_EQ(command_.ModeBox().names.front(), Sjis("デフォルト"));
  EXPECT_EQ(command_.ModeBox().names.size(), 4u);  // Bad, Plain, Wrap after it
  EXPECT_EQ(command_.ModeBox().names[static_cast<size_t>(command_.ModeBox().selected)], "Wrap");
  EXPECT_FALSE(command_.RefreshModeBox());
  EXPECT_TRUE(command_.FillModeBox(true));
  EXPECT_EQ(changes, 3);
  user_.shown.clear();
  EXPECT_FALSE(command_.SelectInModeBox("Unknown"));
  ASSERT_EQ(user_.shown.size(), 1u);
  // As written (UTF-8), the name shown as UTF-8 too.
  EXPECT_NE(user_.shown[0].find("不正な編集モードを使おうとしました。 - Unknown"), std::string::npos);
  EXPECT_TRUE(command_.FillModeBox(true));
  user_.shown.clear();
  EXPECT_FALSE(command_.SelectInModeBox(Sjis("日本語")));
  ASSERT_EQ(user_.shown.size(), 1u);
  EXPECT_NE(user_.shown[0].find("不正な編集モードを使おうとしました。 - 日本語"), std::string::npos);
  EXPECT_TRUE(command_.SelectInModeBox(""));
  EXPECT_EQ(command_.ModeBox().selected, 0);
}

}  // namespace
}  // namespace kerv
