#pragma once
// The enabled and checked states of the window's actions, from the window's
// state. The window gathers the state; these rules decide.

#include <string>

#include "app/commands/TKervCommand.h"
#include "app/commands/TKervActionTable.h"
#include "keys/TKervKeySet.h"

namespace kerv {

// What the rules read, as the window sees it at the moment of a refresh.
struct TKervActionState {
  // bars and panels
  bool baseBar = true, baseExpanded = true, searchBar = true, searchExpanded = true;
  bool infoBarVisible = true, statusBarVisible = true, modeListVisible = true;
  // search options
  bool regularExpression = false, autoComplete = false, selectionOnly = false;
  // the active editor and the edit mode
  bool editorFocused = false, selected = false, boxMode = false;
  bool canUndo = false, canRedo = false;
  bool wordWrap = false, windowWrap = false;
  bool bsUnindent = false, autoIndent = false, ruler = false, lineNumbers = false;
  // the search or replace box has the focus and a selected part
  bool searchBoxSelected = false;
};

// Where the rules put their results: the window's actions.
class IKervActionTarget {
 public:
  virtual ~IKervActionTarget() = default;
  virtual void SetEnabled(TKervAction action, bool enabled) = 0;
  virtual void SetChecked(TKervAction action, bool checked) = 0;
  // The search and replace boxes complete from their histories.
  virtual void SetAutoComplete(bool on) = 0;
  // The action's key as portable text ("Ctrl+Shift+N"); empty: it has none.
  virtual void SetShortcut(TKervAction action, const std::string& portableText) = 0;
};

class TKervActionCommand : public TKervCommand {
 public:
  explicit TKervActionCommand(IKervActionTarget& target) : target_(target) {}

  void RefreshBars(const TKervActionState& state);
  void RefreshSearchOptions(const TKervActionState& state);
  void RefreshModeChecks(const TKervActionState& state);
  void RefreshSelectionMode(const TKervActionState& state);
  void RefreshSelection(const TKervActionState& state);
  void RefreshFormatActions(const TKervActionState& state);
  void RefreshPanels(const TKervActionState& state);
  void RefreshWrap(const TKervActionState& state);
  void UpdateCutCopy(const TKervActionState& state);
  void UpdateUndoRedo(const TKervActionState& state);
  void UpdateSelSearch(const TKervActionState& state);
  // The end of start-up: every refresh in its order.
  void RefreshAll(const TKervActionState& state);

  // Gives every action the key the table of shortcuts names, or none.
  void ApplyShortcuts(const TActionShortcuts& shortcuts);
  // Loads the named key set (the keys tools use freed) and applies it. A
  // damaged set is applied as the built-in set; the result says why.
  TKeySetLoadResult ApplyKeySet(TKervKeySet& keySet, const std::string& name);

  // The actions that RefreshFormatActions enables together.
  static const TKervAction kFormatActions[22];

 private:
  IKervActionTarget& target_;
};

}  // namespace kerv
