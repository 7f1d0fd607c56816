// The search command over real editor panes: the operations of the search
// actions, the notices exactly as written, the histories, the emphasis of
// both panes and the rate of the progress window.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commands/TKervEditorSearchTarget.h"
#include "app/commands/TKervSearchCommand.h"
#include "app/settings/TKervSettingManager.h"
#include "editor/TEditor.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv {
namespace {

std::string S(std::string_view utf8) {
  static IconvCodePage codePage;
  return codePage.Utf8ToCp932(utf8, nullptr);
}

class FakeEditors : public IKervEditors {
 public:
  FakeEditors() { second.ShareRowStore(main); }
  TEditor& ActiveEditor() override { return secondActive ? second : main; }
  TEditor& MainEditor() override { return main; }
  TEditor* SecondEditor() override { return split ? &second : nullptr; }
  bool EditorHasFocus() override { return true; }
  TEditor main;
  TEditor second;
  bool split = true;
  bool secondActive = false;
};

class FakeInformation : public IKervInformation {
 public:
  Answer MessageBox(const std::string& text, int kind, int) override {
    boxes.push_back(std::to_string(kind) + ":" + text);
    return answer;
  }
  void Notify(const std::string& text, int level) override { notices.push_back(std::to_string(level) + ":" + text); }
  Answer answer = maYes;
  std::vector<std::string> boxes;
  std::vector<std::string> notices;
};

class FakeWindow : public IKervSearchWindow {
 public:
  void SetSearchItems(const std::vector<std::string>& items) override { searchItems = items; }
  void SetReplaceItems(const std::vector<std::string>& items) override { replaceItems = items; }
  void SetSearchText(const std::string& word) override { searchText = word; }
  void SearchOptionsChanged() override { ++optionsChanged; }
  void SendHistoryWord(int kind, const std::string& word) override { sent.push_back(std::to_string(kind) + ":" + word); }
  void FocusEditor() override { ++focused; }
  void QuestionBeep() override { ++beeps; }
  std::vector<std::string> searchItems, replaceItems, sent;
  std::string searchText;
  int optionsChanged = 0, focused = 0, beeps = 0;
};

class FakeProgress : public IKervSearchProgress {
 public:
  void Start() override { ++started; }
  void Step(int count) override { steps.push_back(count); }
  bool Cancelled() override { return cancelAtStep > 0 && static_cast<int>(steps.size()) >= cancelAtStep; }
  void End() override { ++ended; }
  int started = 0, ended = 0, cancelAtStep = 0;
  std::vector<int> steps;
};

class TKervSearchCommandTest : public ::testing::Test {
 protected:
  TKervSearchCommandTest() {
    fs_.AddFolder("/set");
    fs_.AddFile("/set/kerv.ini", "");
  }

  void SetText(const std::string& text) {
    editors_.main.WmSetText(text);
    editors_.main.ClearUndo();
    editors_.main.SetSelStart(0);
  }
  std::string Text() { return editors_.main.WmGetText(); }
  std::string Selected() { return editors_.ActiveEditor().SelText(); }

  FakeFileSystem fs_;
  IconvCodePage codePage_;
  TKervSettingManager settings_{fs_, "/set/"};
  FakeEditors editors_;
  FakeInformation information_;
  FakeWindow window_;
  FakeProgress progress_;
  int64_t now_ = 0;
  // Each reading of the clock is a second later: every replacement steps the window.
  TKervSearchCommand command_{editors_, information_, settings_, codePage_, window_, progress_,
                              [this] { return now_ += 1000; }};
};

TEST_F(TKervSearchCommandTest, FindMovesBetweenHitsAndEmphasizesBothPanes) {
  SetText("one two one two one");
  EXPECT_TRUE(command_.Find("two", true));
  EXPECT_EQ(Selected(), "two");
  EXPECT_EQ(editors_.main.SelStart(), 4);
  EXPECT_TRUE(command_.Find("two", true));
  EXPECT_EQ(editors_.main.SelStart(), 12);
  EXPECT_TRUE(command_.Find("two", false));
  EXPECT_EQ(editors_.main.SelStart(), 4);
  EXPECT_EQ(editors_.main.FindString(), "two");
  EXPECT_EQ(editors_.second.FindString(), "two");
  EXPECT_EQ(window_.searchItems, (std::vector<std::string>{"two"}));
  EXPECT_EQ(window_.sent.front(), "3:two");

  command_.ClearEmphasis();
  EXPECT_EQ(editors_.main.FindString(), "");
  EXPECT_EQ(editors_.second.FindString(), "");
}

TEST_F(TKervSearchCommandTest, NotFoundNoticesAsWritten) {
  SetText(S("漢字 word"));
  EXPECT_FALSE(command_.Find(S("表"), true));
  EXPECT_EQ(information_.notices.back(), "1:文字列 表 は見つかりませんでした。");
  EXPECT_TRUE(command_.Find("word", true));
  EXPECT_FALSE(command_.Find("word", true));
  EXPECT_EQ(information_.notices.back(), "1:文字列 word を文末まで検索しました。");
  command_.ResetSearchState();
  settings_.Search().SearchFlags |= SearchFlag::RegExp;
  EXPECT_FALSE(command_.Find("w.rdz", true));
  EXPECT_EQ(information_.notices.back(), "1:正規表現 w.rdz は見つかりませんでした。");
}

TEST_F(TKervSearchCommandTest, BadRegularExpressionIsAnErrorBox) {
  SetText("abc");
  settings_.Search().SearchFlags |= SearchFlag::RegExp;
  EXPECT_FALSE(command_.Find("(a", true));
  ASSERT_EQ(information_.boxes.size(), 1u);
  EXPECT_EQ(information_.boxes[0].substr(0, 2), "1:");
  EXPECT_FALSE(command_.State().Searching);
}

TEST_F(TKervSearchCommandTest, ReplaceAsksWhenConfirmIsSet) {
  SetText("aXa");
  settings_.Search().Confirm = true;
  information_.answer = IKervInformation::maNo;
  EXPECT_FALSE(command_.Replace("a", "b", true));
  EXPECT_EQ(Text(), "aXa");
  EXPECT_EQ(window_.beeps, 1);
  EXPECT_EQ(information_.boxes.back(), "3:置換を行ないますか？");
  EXPECT_EQ(window_.replaceItems, (std::vector<std::string>{"b"}));  // histories even when declined
  information_.answer = IKervInformation::maYes;
  EXPECT_TRUE(command_.Replace("a", "\\\\n", true));
  EXPECT_EQ(Text(), "aX\\n");
}

TEST_F(TKervSearchCommandTest, ReplaceAllIsOneUndoStepWithItsCount) {
  SetText("ab\r\nab ab\r\nxx");
  EXPECT_EQ(command_.ReplaceAll("ab", "c\\nd"), 3);
  EXPECT_EQ(Text(), "c\r\nd\r\nc\r\nd c\r\nd\r\nxx");
  EXPECT_EQ(information_.notices.back(), "1:全置換が完了しました。 (置換された数：3)");
  EXPECT_TRUE(editors_.main.Modified());
  EXPECT_FALSE(command_.State().FileBusy);
  EXPECT_EQ(progress_.started, 1);
  EXPECT_EQ(progress_.ended, 1);
  EXPECT_EQ(progress_.steps, (std::vector<int>{1, 2, 3}));
  editors_.main.Undo();
  EXPECT_EQ(Text(), "ab\r\nab ab\r\nxx");
  EXPECT_FALSE(editors_.main.CanUndo());
}

TEST_F(TKervSearchCommandTest, ReplaceAllWithoutHitReportsZero) {
  SetText("abc");
  EXPECT_EQ(command_.ReplaceAll("zz", "y"), 0);
  EXPECT_EQ(information_.notices.back(), "1:全置換が完了しました。 (置換された数：0)");
  EXPECT_EQ(progress_.started, 0);
  EXPECT_FALSE(editors_.main.CanUndo());
}

TEST_F(TKervSearchCommandTest, ReadOnlyPaneReplacesNothingAndClaimsNothing) {
  SetText("ab ab");
  editors_.main.SetReadOnly(true);
  const size_t notices = information_.notices.size();
  EXPECT_EQ(command_.ReplaceAll("ab", "c"), 0);
  EXPECT_FALSE(command_.Replace("ab", "c", true));
  EXPECT_EQ(Text(), "ab ab");
  EXPECT_EQ(information_.notices.size(), notices);
  EXPECT_EQ(progress_.started, 0);
}

TEST_F(TKervSearchCommandTest, CancelledReplaceAllLeavesTheText) {
  SetText("a a a a");
  progress_.cancelAtStep = 2;
  EXPECT_EQ(command_.ReplaceAll("a", "b"), -1);
  EXPECT_EQ(Text(), "a a a a");
  ASSERT_GE(information_.notices.size(), 2u);
  EXPECT_EQ(information_.notices[information_.notices.size() - 2], "1:全置換処理を中断しました。");
  EXPECT_EQ(information_.notices.back(), "1:全置換を中断しました。");
  EXPECT_EQ(progress_.ended, 1);
}

TEST_F(TKervSearchCommandTest, ProgressIsSteppedAtMostTenTimesASecond) {
  SetText("a a a a a a");
  int64_t slow = 0;
  TKervSearchCommand command(editors_, information_, settings_, codePage_, window_, progress_,
                             [&slow] { return slow += 40; });
  EXPECT_EQ(command.ReplaceAll("a", "b"), 6);
  // Readings 40 ms apart: a step at every third replacement at most.
  EXPECT_EQ(progress_.steps, (std::vector<int>{3, 6}));
}

TEST_F(TKervSearchCommandTest, RegularExpressionAnchorsInTheWholeText) {
  SetText("aaa\r\naaa");
  settings_.Search().SearchFlags |= SearchFlag::RegExp;
  EXPECT_EQ(command_.ReplaceAll("^a", "b"), 2);
  EXPECT_EQ(Text(), "baa\r\nbaa");
  editors_.main.SetSelStart(0);
  EXPECT_TRUE(command_.Find("^b", true));
  EXPECT_EQ(editors_.main.SelStart(), 0);
  EXPECT_TRUE(command_.Find("^b", true));
  EXPECT_EQ(editors_.main.SelStart(), 5);
}

TEST_F(TKervSearchCommandTest, QuickSearchTakesTheSelectionAndClearsRegExp) {
  SetText("key x key\r\nkey");
  settings_.Search().SearchFlags |= SearchFlag::RegExp;
  editors_.main.SetSelStart(0);
  editors_.main.SetSelLength(3);
  command_.QuickSearch();
  EXPECT_EQ(editors_.main.SelStart(), 6);
  EXPECT_FALSE(settings_.Search().SearchFlags & SearchFlag::RegExp);
  EXPECT_EQ(window_.searchText, "key");
  // A multi-line word goes to the history up to its first line break.
  editors_.main.SetSelStart(6);
  editors_.main.SetSelLength(8);
  command_.QuickSearch();
  EXPECT_EQ(window_.searchItems.front(), "key");
  for (const std::string& sent : window_.sent) EXPECT_EQ(sent.find('\n'), std::string::npos);
}

TEST_F(TKervSearchCommandTest, SelectionOnlyToggleIsUsedUpByFind) {
  SetText("ab ab ab");
  command_.ToggleSelectionOnly();
  EXPECT_TRUE(command_.SelectionOnly());
  editors_.main.SetSelStart(2);
  editors_.main.SetSelLength(4);
  EXPECT_TRUE(command_.Find("ab", true));
  EXPECT_EQ(editors_.main.SelStart(), 3);
  EXPECT_FALSE(command_.SelectionOnly());
}

TEST_F(TKervSearchCommandTest, HistoriesAreSharedAndStored) {
  command_.AddSearchHistory("from another window", false);
  EXPECT_TRUE(window_.sent.empty());
  for (int i = 0; i < 21; ++i) command_.AddSearchHistory("w" + std::to_string(i), true);
  EXPECT_EQ(command_.SearchHistory().Items().size(), 20u);
  command_.AddReplaceHistory("r", true);
  command_.SaveHistories();
  TKervSettingManager other(fs_, "/set/");
  FakeWindow otherWindow;
  TKervSearchCommand reader(editors_, information_, other, codePage_, otherWindow, progress_);
  reader.LoadHistories();
  EXPECT_EQ(otherWindow.searchItems.size(), 20u);
  EXPECT_EQ(otherWindow.searchItems.front(), "w20");
  EXPECT_EQ(otherWindow.replaceItems, (std::vector<std::string>{"r"}));
  command_.ClearSearchHistory();
  EXPECT_TRUE(window_.searchItems.empty());
}

// The text windows the regular-expression searcher reads from the row store.
TEST_F(TKervSearchCommandTest, TextWindowsFollowTheRows) {
  SetText("ab\r\ncd\r\nef");
  TKervEditorSearchTarget target(editors_, window_);
  struct Case {
    long long offset, minBytes;
    std::string text;
    bool lineStart, reachesEnd;
  } cases[] = {
      {0, 1, "ab\r\n", true, false},
      {1, 1, "b\r\n", false, false},
      {3, 1, "\n", false, false},
      {4, 5, "cd\r\nef", true, true},
      {4, 3, "cd\r\n", true, false},
      {4, 0, "", true, false},
      {10, 5, "", false, true},
      {0, 100, "ab\r\ncd\r\nef", true, true},
  };
  for (const Case& c : cases) {
    TKervTextWindow window = target.TextWindow(c.offset, c.minBytes);
    EXPECT_EQ(window.text, c.text) << c.offset;
    EXPECT_EQ(window.lineStart, c.lineStart) << c.offset;
    EXPECT_EQ(window.reachesEnd, c.reachesEnd) << c.offset;
  }
}

}  // namespace
}  // namespace kerv
