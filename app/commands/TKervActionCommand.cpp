#include "app/commands/TKervActionCommand.h"

namespace kerv {

const TKervAction TKervActionCommand::kFormatActions[22] = {
    Act_Fmt_Upper,      Act_Fmt_Lower,       Act_Fmt_LeadStr,    Act_Fmt_Indent,     Act_Fmt_Outdent,
    Act_Fmt_Num,        Act_Fmt_DelLead,     Act_Fmt_HanToZen,   Act_Fmt_ZenToHan,   Act_Fmt_Hira,
    Act_Fmt_Kana,       Act_Fmt_SPIndent,    Act_Fmt_SPOutndent, Act_Fmt_TabToSpace, Act_Fmt_SpaceToTab,
    Act_Fmt_TagElase,   Act_Fmt_ElaseEmpLine, Act_Fmt_TypeFormat, Act_Fmt_ReturnAt,   Act_Fmt_FootStr,
    Act_Fmt_Sort,       Act_Fmt_ReverseSort};

void TKervActionCommand::RefreshBars(const TKervActionState& state) {
  target_.SetChecked(Act_View_ToolBar, state.baseBar);
  target_.SetChecked(Act_View_ToolBarExp, state.baseExpanded);
  target_.SetChecked(Act_View_SearchBar, state.searchBar);
  target_.SetChecked(Act_View_SearchBarExp, state.searchExpanded);
}

void TKervActionCommand::RefreshSearchOptions(const TKervActionState& state) {
  // Expressions are matched forwards only.
  target_.SetEnabled(Act_Srch_FindPrev, !state.regularExpression && !state.boxMode);
  target_.SetEnabled(Act_Srch_ReplaceUp, !state.regularExpression && !state.boxMode);
  target_.SetAutoComplete(state.autoComplete);
}

void TKervActionCommand::RefreshModeChecks(const TKervActionState& state) {
  target_.SetChecked(Act_View_WordWrap, state.wordWrap);
  target_.SetChecked(Act_View_WinWrap, state.windowWrap);
  target_.SetChecked(Act_Edit_BSUnindent, state.bsUnindent);
  target_.SetChecked(Act_Edit_AutoIndent, state.autoIndent);
  target_.SetChecked(Act_View_Ruler, state.ruler);
  target_.SetChecked(Act_View_LineNum, state.lineNumbers);
}

void TKervActionCommand::RefreshSelectionMode(const TKervActionState& state) {
  target_.SetChecked(Act_Edit_BoxSelect, state.boxMode);
  for (TKervAction action : {Act_Srch_FindNext, Act_Srch_ReplaceDown, Act_Srch_QuickSearch, Act_Srch_ReplaceAll}) {
    target_.SetEnabled(action, !state.boxMode);
  }
  // The backward searches also depend on the expression option.
  target_.SetEnabled(Act_Srch_FindPrev, !state.boxMode && !state.regularExpression);
  target_.SetEnabled(Act_Srch_ReplaceUp, !state.boxMode && !state.regularExpression);
  RefreshFormatActions(state);
}

void TKervActionCommand::RefreshSelection(const TKervActionState& state) {
  target_.SetEnabled(Act_Edit_AddCut, state.editorFocused && state.selected);
  target_.SetEnabled(Act_Edit_AddCopy, state.editorFocused && state.selected);
  RefreshFormatActions(state);
}

void TKervActionCommand::RefreshFormatActions(const TKervActionState& state) {
  const bool enabled = state.editorFocused && state.selected && !state.boxMode;
  for (TKervAction action : kFormatActions) target_.SetEnabled(action, enabled);
}

void TKervActionCommand::RefreshPanels(const TKervActionState& state) {
  target_.SetChecked(Act_View_Infobar, state.infoBarVisible);
  target_.SetChecked(Act_View_Statusbar, state.statusBarVisible);
  target_.SetChecked(Act_View_ModeList, state.modeListVisible);
  RefreshWrap(state);
}

void TKervActionCommand::RefreshWrap(const TKervActionState& state) {
  target_.SetChecked(Act_View_WinWrap, state.windowWrap);
  target_.SetChecked(Act_View_WordWrap, state.windowWrap || state.wordWrap);
}

void TKervActionCommand::UpdateCutCopy(const TKervActionState& state) {
  const bool enabled = state.selected || state.searchBoxSelected;
  target_.SetEnabled(Act_Edit_Cut, enabled);
  target_.SetEnabled(Act_Edit_Copy, enabled);
}

void TKervActionCommand::UpdateUndoRedo(const TKervActionState& state) {
  target_.SetEnabled(Act_Edit_Undo, state.canUndo);
  target_.SetEnabled(Act_Edit_Redo, state.canRedo);
}

void TKervActionCommand::UpdateSelSearch(const TKervActionState& state) {
  target_.SetChecked(Act_Srch_SelSearch, state.selectionOnly);
}

void TKervActionCommand::RefreshAll(const TKervActionState& state) {
  RefreshFormatActions(state);
  RefreshBars(state);
  RefreshSearchOptions(state);
  RefreshSelection(state);
  RefreshModeChecks(state);
  RefreshPanels(state);
}

void TKervActionCommand::ApplyShortcuts(const TActionShortcuts& shortcuts) {
  for (const TKervActionInfo& info : ActionTable()) {
    target_.SetShortcut(info.id, ShortcutPortableText(shortcuts[static_cast<size_t>(info.id)]));
  }
}

TKeySetLoadResult TKervActionCommand::ApplyKeySet(TKervKeySet& keySet, const std::string& name) {
  TKeySetApplication applied = keySet.Apply(name);
  ApplyShortcuts(applied.shortcuts);
  return applied.load;
}

}  // namespace kerv
