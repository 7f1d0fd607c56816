#pragma once
// The main window: menus, tool bar, search bar, the editor panes, info bar and
// status bar. It holds no rules of its own: actions, form events and editor
// events go to the command objects and managers it owns.

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/commands/TKervActionCommand.h"
#include "app/commands/TKervActionTable.h"
#include "app/window/IKervMainWindow.h"
#include "app/window/TKervState.h"

class QComboBox;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;
class QWidget;

namespace kerv {

class IClipboard;
class TEditor;
class TEditorWidget;
class TKervEditModeManager;
class TKervEditModeUser;
class TKervEditModeCommand;
class TKervEditorCommand;
class TKervEditorManager;
class TKervInformation;
class TKervParameter;
class TKervProcessManager;
class TKervWindowPort;
class TKervFileSide;
class TKervFileManager;
class TKervFileCommand;
class TKervEditorDocument;
class TKervFormatCommand;
class TKervFormatDialogsQt;
class TQtCollator;
class TKervSearchCommand;
class TKervSearchSide;
class TKervDialogCommand;
class TKervInformationCommand;
class TKervViewCommand;
class TKervWindowCommand;
class TKervToolLauncherCommand;
class TKervMessageHandlerCommand;
class TKervEditorEventCommand;
class TFrmReplacingProgress;
class IFileDialogs;
class IFileLock;
class TKervSettingManager;
class TKervSystem;

class TFrmKervMain : public QMainWindow, public IKervActionTarget, public IKervMainWindow {
  Q_OBJECT

 public:
  TFrmKervMain(TKervSystem& system, std::vector<std::string> arguments);
  ~TFrmKervMain() override;

  // False when the start file was refused or failed: the process ends with no window.
  bool StartedOk() const { return startedOk_; }
  // A big start file waits until the window shows (OpenWaitingStartFile).
  bool StartFileWaits() const { return startFileWaits_; }
  // Reads the waiting start file with its progress in the window, then
  // applies the command line's mode and jump. A failed read closes the
  // window, as a refused start would end the process; a read given up
  // leaves the empty document.
  void OpenWaitingStartFile();
  // Shows the window as the command line and the settings ask.
  void Place();
  // Holds the window with its frame inside the screen's free area.
  void FitFrameToScreen();

  // What the bars show (checks and tests).
  QString CaretText() const;
  QString CodeText() const;
  QString ReturnText() const;
  QString OverwriteText() const;
  QString InfoText() const;
  QString DocumentText() const;
  TEditorWidget& EditorWidget();
  QAction* Action(TKervAction id) const override { return actions_[static_cast<size_t>(id) - 1]; }

  // ---- what the window's command families reach
  QMainWindow& Form() override { return *this; }
  TKervWindowBars Bars() override;
  TKervSystem& System() override { return system_; }
  TKervSettingManager& Settings() override;
  TKervEditorManager& Editors() override { return *editors_; }
  TKervInformation& Information() override { return *information_; }
  TKervEditModeManager& Modes() override { return *modes_; }
  IClipboard& Clipboard() override { return *clipboard_; }
  TKervState& State() override { return state_; }
  TKervView& View() override { return view_; }
  TKervFileManager* FileManager() override { return fileManager_.get(); }
  TKervProcessManager* Processes() override { return processes_; }
  TKervActionCommand* ActionCommand() override { return actionCommand_; }
  TKervSearchCommand* SearchCommand() override { return searchCommand_; }
  TKervEditModeCommand& ModeCommand() override { return *modeCommand_; }
  TKervEditorCommand& EditorCommand() override { return *editorCommand_; }
  TKervFileCommand* FileCommand() override { return fileCommand_; }
  TKervInformationCommand& InfoCommand() override { return *infoCommand_; }
  TKervToolLauncherCommand& ToolCommand() override { return *toolCommand_; }
  TKervActionState GatherState() const override;
  void RefreshAll() override;
  void RefreshEditActions() override;
  void ApplySettings() override;
  void ModeApplied(bool applied) override;
  void ApplyKeySet(bool reportDamage) override;

  // Runs one action's command (what its menu item does).
  void Run(TKervAction id);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Files dragged from another program (onto the window or a pane) open.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // ---- building the form
  void FormCreate();
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateSearchBar();
  void CreateInfoBar();
  void CreateStatusBar();
  QMenu* CreateCodeMenu(bool returnCodes);

  // ---- start-up and settings
  void Initialize();
  void ProcessCommandLine();
  // The command line's edit mode and jump, once the start file is in.
  void ApplyStartOptions();
  // Picks the edit mode of fileName's extension and applies it to the panes.
  void ApplyModeForFile(const std::string& fileName);
  void ChangeMode(const std::string& name);

  // ---- refresh rules
  void SetEnabled(TKervAction action, bool enabled) override;
  void SetChecked(TKervAction action, bool checked) override;
  void SetAutoComplete(bool on) override;
  void SetShortcut(TKervAction action, const std::string& portableText) override;

  // ---- commands of the window
  void InsertUtf8(const std::string& text);
  void PopupCodeMenu(bool returnCodes);
  void ChooseCode(bool returnCodes, int code);
  void RebuildHistoryMenu(const std::vector<std::pair<std::string, std::string>>& entries);
  friend class TKervFileSide;
  friend class TKervSearchSide;
  TKervDialogCommand& DialogCommand() { return *dialogCommand_; }
  TKervViewCommand& ViewCommand() { return *viewCommand_; }
  TKervEditorEventCommand& EventCommand() { return *eventCommand_; }
  std::string BoxText(QComboBox* box) const;
  bool Searching() const;

  TKervSystem& system_;
  std::vector<std::string> arguments_;
  std::unique_ptr<TKervParameter> parameter_;
  std::unique_ptr<TKervEditModeUser> modeUser_;
  std::unique_ptr<TKervEditModeManager> modes_;
  std::unique_ptr<IClipboard> clipboard_;
  // The command objects, owned by the process's root object, in family order.
  TKervActionCommand* actionCommand_ = nullptr;
  TKervDialogCommand* dialogCommand_ = nullptr;
  TKervEditModeCommand* modeCommand_ = nullptr;
  TKervEditorCommand* editorCommand_ = nullptr;
  TKervFileCommand* fileCommand_ = nullptr;
  TKervFormatCommand* formatCommand_ = nullptr;
  TKervInformationCommand* infoCommand_ = nullptr;
  TKervSearchCommand* searchCommand_ = nullptr;
  TKervToolLauncherCommand* toolCommand_ = nullptr;
  TKervViewCommand* viewCommand_ = nullptr;
  TKervWindowCommand* windowCommand_ = nullptr;
  TKervMessageHandlerCommand* messageHandler_ = nullptr;
  TKervEditorEventCommand* eventCommand_ = nullptr;
  TKervProcessManager* processes_ = nullptr;
  // The document: its dialogs, lock, editor side, window side and commands.
  std::unique_ptr<IFileDialogs> ownFileDialogs_;
  std::unique_ptr<IFileLock> ownFileLock_;
  std::unique_ptr<TKervEditorDocument> editorDocument_;
  std::unique_ptr<TKervFileSide> fileSide_;
  std::unique_ptr<TKervFileManager> fileManager_;
  std::unique_ptr<TKervFormatDialogsQt> formatDialogs_;
  std::unique_ptr<TQtCollator> collator_;
  std::unique_ptr<TKervSearchSide> searchSide_;
  std::unique_ptr<TFrmReplacingProgress> replacing_;
  QToolButton* searchOptionsButton_ = nullptr;
  QMenu* historyMenu_ = nullptr;
  QMenu* appListMenu_ = nullptr;
  TKervState state_;
  TKervView view_;
  bool startedOk_ = true;
  bool startFileWaits_ = false;

  std::array<QAction*, kActionCount> actions_{};
  TKervEditorManager* editors_ = nullptr;
  TKervInformation* information_ = nullptr;
  QWidget* toolBarRow_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QWidget* modeListBox_ = nullptr;
  QComboBox* modeList_ = nullptr;
  QToolBar* searchBar_ = nullptr;
  QComboBox* searchBox_ = nullptr;
  QComboBox* replaceBox_ = nullptr;
  QWidget* foldStrip_ = nullptr;
  QToolButton* toolBarFold_ = nullptr;
  QToolButton* searchBarFold_ = nullptr;
  QWidget* infoBar_ = nullptr;
  QLabel* infoLabel_ = nullptr;
  QLabel* hintCell_ = nullptr;
  QLabel* caretCell_ = nullptr;
  QLabel* codeCell_ = nullptr;
  QLabel* returnCell_ = nullptr;
  QLabel* overwriteCell_ = nullptr;
  QLabel* readOnlyCell_ = nullptr;
  QMenu* charCodeMenu_ = nullptr;
  QMenu* returnCodeMenu_ = nullptr;
  QMenu* infoBarMenu_ = nullptr;
  bool fillingModeList_ = false;
  // Whether an edit mode has been applied to the panes since the start.
  bool modeApplied_ = false;
};

}  // namespace kerv
