#pragma once
// The edit-mode commands of the main window: switching the mode by name (the
// mode box) or by a document's file name, applying the new mode to both
// editor panes, and the contents of the mode box. The window shows the box
// and the editor manager performs the application to one pane.

#include "app/commands/TKervCommand.h"
#include <functional>
#include <string>
#include <vector>

#include "app/commands/TKervEditors.h"
#include "app/commands/TKervInformation.h"
#include "editmode/TKervEditModeManager.h"

namespace kerv {

class TEditor;

// What the mode box holds: mode names (Shift_JIS), "デフォルト" first.
struct TKervModeBox {
  std::vector<std::string> names;
  int selected = -1;
  bool filled = false;
};

// How a mode command ended, and what the window does about it.
struct TKervModeCommandResult {
  TModeSwitch outcome = TModeSwitch::Unchanged;
  // The panes got the new mode: the window gives the active pane the focus
  // when it is visible and refreshes the commands' states.
  bool applied = false;
};

class TKervEditModeCommand : public TKervCommand {
 public:
  // Applies a mode to one pane (the editor manager's steps).
  using ApplyToEditor = std::function<void(TEditor& editor, const TEditorPropEx& mode)>;

  TKervEditModeCommand(TKervEditModeManager& modes, IKervEditors& editors, IKervInformation& info,
                       ApplyToEditor apply);

  // The setting that asks before a switch that clears the undo list.
  std::function<bool()> NoticeUndoClear;
  // Called whenever the mode box's contents or selection change.
  std::function<void(const TKervModeBox& box)> OnModeBoxChange;

  // The user picked a mode in the mode box (empty: "デフォルト").
  TKervModeCommandResult ChangeMode(const std::string& name, bool ask, bool force);
  // A document was opened or saved under fileName.
  TKervModeCommandResult ChangeModeForFile(const std::string& fileName, bool ask);
  // The current mode to both panes (also after the settings dialog changed it).
  void ApplyCurrentMode();

  const TKervModeBox& ModeBox() const { return box_; }
  // Refills the box from the settings folder unless it was filled and force
  // is off; true when it was refilled.
  bool FillModeBox(bool force);
  bool RefreshModeBox() { return FillModeBox(false); }
  // Selects name in the box; a name missing from a filled box is error
  // 25000 (false), one missing from a box not yet filled is added.
  bool SelectInModeBox(const std::string& name);

 private:
  bool Ask() const { return NoticeUndoClear && NoticeUndoClear(); }
  TKervModeCommandResult Finish(TModeSwitch outcome);
  void BoxChanged();

  TKervEditModeManager& modes_;
  IKervEditors& editors_;
  IKervInformation& info_;
  ApplyToEditor apply_;
  TKervModeBox box_;
};

}  // namespace kerv
