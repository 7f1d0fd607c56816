#include "app/commands/TKervActionCommand.h"

#include <gtest/gtest.h>

#include <map>

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
}

}  // namespace
}  // namespace kerv
