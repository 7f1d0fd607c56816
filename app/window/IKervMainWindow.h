#pragma once
// What the window's command families reach of the main window: its form, the
// managers and records it owns, its bars and its refresh rules. The window
// implements it, so the families never include the form that owns them.

#include "app/commands/TKervActionCommand.h"
#include "app/commands/TKervActionTable.h"
#include "app/window/TKervState.h"

class QAction;
class QMainWindow;
class QToolButton;
class QWidget;

namespace kerv {

class IClipboard;
class TKervEditModeCommand;
class TKervEditModeManager;
class TKervEditorCommand;
class TKervEditorManager;
class TKervFileCommand;
class TKervFileManager;
class TKervInformation;
class TKervInformationCommand;
class TKervProcessManager;
class TKervSearchCommand;
class TKervSettingManager;
class TKervSystem;
class TKervToolLauncherCommand;

// The bars' widgets that the view command shows, hides and folds.
struct TKervWindowBars {
  QWidget* toolBarRow = nullptr;
  QWidget* searchBar = nullptr;
  QWidget* foldStrip = nullptr;
  QToolButton* toolBarFold = nullptr;
  QToolButton* searchBarFold = nullptr;
  QToolButton* searchOptionsButton = nullptr;
};

class IKervMainWindow {
 public:
  virtual ~IKervMainWindow() = default;

  // The form itself: parent of dialogs, title, flags, show and raise.
  virtual QMainWindow& Form() = 0;
  virtual TKervWindowBars Bars() = 0;

  virtual TKervSystem& System() = 0;
  virtual TKervSettingManager& Settings() = 0;
  virtual TKervEditorManager& Editors() = 0;
  virtual TKervInformation& Information() = 0;
  virtual TKervEditModeManager& Modes() = 0;
  virtual IClipboard& Clipboard() = 0;
  virtual TKervState& State() = 0;
  virtual TKervView& View() = 0;
  // Null until the document's part of the window exists.
  virtual TKervFileManager* FileManager() = 0;
  // Null while this window runs alone.
  virtual TKervProcessManager* Processes() = 0;

  // The other command families (null before they are created).
  virtual TKervActionCommand* ActionCommand() = 0;
  virtual TKervSearchCommand* SearchCommand() = 0;
  virtual TKervEditModeCommand& ModeCommand() = 0;
  virtual TKervEditorCommand& EditorCommand() = 0;
  virtual TKervFileCommand* FileCommand() = 0;
  virtual TKervInformationCommand& InfoCommand() = 0;
  // Null until the document's part of the window exists.
  virtual TKervToolLauncherCommand& ToolCommand() = 0;

  virtual QAction* Action(TKervAction id) const = 0;
  virtual TKervActionState GatherState() const = 0;
  virtual void RefreshAll() = 0;
  virtual void RefreshEditActions() = 0;
  virtual void ApplySettings() = 0;
  virtual void ModeApplied(bool applied) = 0;
  // Gives the actions the keys of the active key set (the keys tools use
  // freed); a damaged set is used as the built-in set and, with
  // reportDamage, reported.
  virtual void ApplyKeySet(bool reportDamage) = 0;
};

}  // namespace kerv
