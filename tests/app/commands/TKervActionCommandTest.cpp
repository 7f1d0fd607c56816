#include "app/commands/TKervActionCommand.h"

#include <gtest/gtest.h>

#include <map>

#include "keys/TKeyTable.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv {
namespace {

class RecordingTarget : public IKervActionTarget {
 public:
  std::map<TKervAction, bool> enabled;
  std::map<TKervAction, bool> checked;
  bool autoComplete = false;
  void SetEnabled(TKervAction action, bool on) override { enabled[action] = on; }
  void SetChecked(TKervAction action, bool on) override { checked[action] = on; }
  void SetAutoComplete(bool on) override { autoComplete = on; }
  void SetShortcut(TKervAction action, const std::string& text) override { shortcuts[action] = text; }
  std::map<TKervAction, std::string> shortcuts;
};

TEST(TKervActionCommandTest, FormatActionsNeedFocusSelectionAndNormalMode) {
  struct Case {
    bool focused, selected, box, expected;
  } cases[] = {
      {true, true, false, true},
      {false, true, false, false},
      {true, false, false, false},
      {true, true, true, false},
  };
  for (const Case& c : cases) {
    RecordingTarget target;
    TKervActionCommand command(target);
    TKervActionState state;
    state.editorFocused = c.focused;
    state.selected = c.selected;
    state.boxMode = c.box;
    command.RefreshFormatActions(state);
    EXPECT_EQ(target.enabled.size(), 22u);
    for (TKervAction action : TKervActionCommand::kFormatActions) {
      EXPECT_EQ(target.enabled[action], c.expected) << ActionInfo(action).name;
    }
  }
}

TEST(TKervActionCommandTest, BackwardSearchesOffForExpressionsAndEverySearchOffInBoxMode) {
  struct Case {
    bool regex, box;
    bool findNext, findPrev, replaceUp, replaceAll;
  } cases[] = {
      {false, false, true, true, true, true},
      {true, false, true, false, false, true},
      {false, true, false, false, false, false},
      {true, true, false, false, false, false},
  };
  for (const Case& c : cases) {
    RecordingTarget target;
    TKervActionCommand command(target);
    TKervActionState state;
    state.regularExpression = c.regex;
    state.boxMode = c.box;
    command.RefreshSearchOptions(state);
    command.RefreshSelectionMode(state);
    EXPECT_EQ(target.enabled[Act_Srch_FindNext], c.findNext);
    EXPECT_EQ(target.enabled[Act_Srch_FindPrev], c.findPrev);
    EXPECT_EQ(target.enabled[Act_Srch_ReplaceUp], c.replaceUp);
    EXPECT_EQ(target.enabled[Act_Srch_ReplaceAll], c.replaceAll);
    EXPECT_EQ(target.enabled[Act_Srch_QuickSearch], !c.box);
    EXPECT_EQ(target.checked[Act_Edit_BoxSelect], c.box);
  }
}

TEST(TKervActionCommandTest, WrapChecksFollowWindowWrapFirst) {
  struct Case {
    bool windowWrap, wordWrap, wordChecked;
  } cases[] = {{true, false, true}, {true, true, true}, {false, true, true}, {false, false, false}};
  for (const Case& c : cases) {
    RecordingTarget target;
    TKervActionCommand command(target);
    TKervActionState state;
    state.windowWrap = c.windowWrap;
    state.wordWrap = c.wordWrap;
    command.RefreshPanels(state);
    EXPECT_EQ(target.checked[Act_View_WinWrap], c.windowWrap);
    EXPECT_EQ(target.checked[Act_View_WordWrap], c.wordChecked);
  }
}

TEST(TKervActionCommandTest, StartUpRefreshSetsBarsPanelsUndoAndCompletion) {
  RecordingTarget target;
  TKervActionCommand command(target);
  TKervActionState state;
  state.baseBar = false;
  state.searchExpanded = false;
  state.infoBarVisible = false;
  state.autoComplete = true;
  state.editorFocused = true;
  state.selected = true;
  state.lineNumbers = true;
  command.RefreshAll(state);
  EXPECT_FALSE(target.checked[Act_View_ToolBar]);
  EXPECT_TRUE(target.checked[Act_View_SearchBar]);
  EXPECT_FALSE(target.checked[Act_View_SearchBarExp]);
  EXPECT_FALSE(target.checked[Act_View_Infobar]);
  EXPECT_TRUE(target.checked[Act_View_LineNum]);
  EXPECT_TRUE(target.enabled[Act_Edit_AddCopy]);
  EXPECT_TRUE(target.autoComplete);

  state.canUndo = true;
  state.selected = false;
  state.searchBoxSelected = true;
  command.UpdateUndoRedo(state);
  command.UpdateCutCopy(state);
  EXPECT_TRUE(target.enabled[Act_Edit_Undo]);
  EXPECT_FALSE(target.enabled[Act_Edit_Redo]);
  EXPECT_TRUE(target.enabled[Act_Edit_Cut]);
}

TEST(TKervActionTableTest, NumbersNamesAndTheBuiltInKeySet) {
  ASSERT_EQ(ActionTable().size(), 113u);
  for (size_t i = 0; i < ActionTable().size(); ++i) EXPECT_EQ(ActionTable()[i].id, static_cast<int>(i + 1));
  // A few numbers key-set files depend on.
  EXPECT_STREQ(ActionInfo(static_cast<TKervAction>(44)).name, "Act_Srch_FindNext");
  EXPECT_STREQ(ActionInfo(static_cast<TKervAction>(103)).name, "Act_Csr_SwichActiveEditor");
  EXPECT_STREQ(ActionInfo(static_cast<TKervAction>(113)).name, "Act_File_Change_RetCode");
  int bound = 0;
  for (const TKervActionInfo& info : ActionTable()) bound += DefaultShortcut(info.id).empty() ? 0 : 1;
  EXPECT_EQ(bound, 35);
  EXPECT_EQ(DefaultShortcut(Act_File_save), "Ctrl+S");
  EXPECT_EQ(DefaultShortcut(Act_Srch_FindPrev), "Shift+F3");
  EXPECT_EQ(ShortHint(ActionInfo(Act_File_New)), "新規作成");
  EXPECT_EQ(LongHint(ActionInfo(Act_File_New)), "新規に文章を作成します");
  // Every action is built: none of them tells the user it comes later.
  for (const TKervActionInfo& info : ActionTable()) {
    const std::string hint = info.hint;
    EXPECT_EQ(hint.find("まだ使えません"), std::string::npos) << info.name;
    EXPECT_EQ(hint.find("後の版"), std::string::npos) << info.name;
  }
}

TEST(TKervActionCommandTest, AKeySetGivesEveryActionItsKeyOrNone) {
  TKeyTable mine;
  mine.Set({0, 71}, Act_Fmt_HanToZen);  // F5
  mine.Set({2, 36}, Act_Fmt_Lower);     // Ctrl+K
  const std::string mineFile = "[Info]\r\nType=KervKeySet\r\n[Data]\r\nKeySet=" + mine.ToHex() + "\r\n";
  const std::string toolOnF3 = "[ToolLauncher]\r\nNum=1\r\nToolPath0=/bin/t\r\nShortCutKey0=114\r\n";
  struct Case {
    const char* what;
    std::string name;
    std::string mineTks;
    std::string kervtool;
    std::map<TKervAction, std::string> expected;
    bool damaged;
  } cases[] = {
      {"mine", "mine", mineFile, "",
       {{Act_Fmt_HanToZen, "F5"}, {Act_Fmt_Lower, "Ctrl+K"}, {Act_File_save, ""}, {Act_Srch_FindNext, ""}}, false},
      {"built-in", "", "", "", {{Act_Fmt_HanToZen, "Ctrl+D"}, {Act_File_save, "Ctrl+S"}, {Act_Srch_FindNext, "F3"}}, false},
      {"a tool's key", "", "", toolOnF3, {{Act_Srch_FindNext, ""}, {Act_Srch_FindPrev, "Shift+F3"}}, false},
      {"a missing set", "gone", "", "", {{Act_Fmt_HanToZen, "Ctrl+D"}}, false},
      {"damaged", "mine", "[Info]\r\nType=KervKeySet\r\n[Data]\r\nKeySet=0100\r\n", "",
       {{Act_Fmt_HanToZen, "Ctrl+D"}, {Act_Fmt_Lower, "Ctrl+L"}}, true},
  };
  for (const Case& c : cases) {
    FakeFileSystem fs;
    IconvCodePage codePage;
    fs.AddFolder("/cfg");
    if (!c.mineTks.empty()) fs.AddFile("/cfg/mine.tks", c.mineTks);
    if (!c.kervtool.empty()) fs.AddFile("/cfg/kervtool.ini", c.kervtool);
    RecordingTarget target;
    TKervActionCommand command(target);
    TKervKeySet keySet(fs, codePage, "/cfg");
    const TKeySetLoadResult result = command.ApplyKeySet(keySet, c.name);
    EXPECT_EQ(!result.error.empty(), c.damaged) << c.what;
    // Every action is told, so none keeps a key from an earlier set.
    EXPECT_EQ(target.shortcuts.size(), 113u) << c.what;
    for (const auto& [action, keys] : c.expected) EXPECT_EQ(target.shortcuts[action], keys) << c.what << " " << action;
    // A damaged file is never written over.
    EXPECT_EQ(fs.Contents("/cfg/mine.tks"), c.mineTks) << c.what;
  }
}

}  // namespace
}  // namespace kerv
