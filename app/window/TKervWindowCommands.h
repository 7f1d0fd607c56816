#pragma once
// The command families of the main window that need its widgets: dialogs,
// information, view, window, tool launcher, the other windows' messages and
// the editor panes' events. The window forwards to them; they hold the rules.

#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "app/TKervProcessManager.h"
#include "app/commands/TKervCommand.h"
#include "tools/TKervToolLauncher.h"

class QAction;
class QMenu;

namespace kerv {

class TEditor;
class TEditorWidget;
class TFrm_ImageWindow;
class TQtVuvEChoosers;
class IKervMainWindow;
class TKervProcessManager;
class TKervWindowPort;

// A family that works through the main window's controls.
class TKervWindowBoundCommand : public TKervCommand {
 public:
  TKervWindowBoundCommand(TKervSystem& system, IKervMainWindow& window) : TKervCommand(system), w_(window) {}

 protected:
  IKervMainWindow& w_;
};

// Print, settings, edit-mode settings, search options, the temporary words
// and font, go to line, text to image and the image window; the
// single-dialog rule across windows.
class TKervDialogCommand : public TKervWindowBoundCommand {
 public:
  TKervDialogCommand(TKervSystem& system, IKervMainWindow& window);
  ~TKervDialogCommand() override;
  bool MayOpenDialog(int dialogState);
  void OpenPrintDialog();
  void OpenSettingsDialog();
  void OpenEditModeDialog();
  void OpenSearchOptions();
  void EditTemporaryWords();
  // The tool dialogs' help topic.
  void ShowToolHelp();
  void ChooseTemporaryFont();
  void JumpTo();
  // The text-to-image converter (dialog state 3) and the image window it fills.
  void OpenVuvEConverter();
  void ShowImageWindow();

 private:
  TFrm_ImageWindow& ImageWindow();
  // The choosers of the converter (over this window) and of the image window (over it).
  std::unique_ptr<TQtVuvEChoosers> converterChoosers_;
  std::unique_ptr<TQtVuvEChoosers> imageWindowChoosers_;
  std::unique_ptr<TFrm_ImageWindow> imageWindow_;
};

// Caret position, counters, code display, the info bar's items, help.
class TKervInformationCommand : public TKervWindowBoundCommand {
 public:
  using TKervWindowBoundCommand::TKervWindowBoundCommand;
  void ShowCaretPos();
  void CountCharacters();
  void ShowAsciiCode();
  void ShowClipboard();
  void ShowNow();
  // The current date and time as inserted and shown.
  static QString NowText();
  QString HelpFile() const;
  // The desktop's program for the guide, or a help window of our own.
  void ShowHelp();
  // One part of the help file (its anchor, e.g. "tools").
  void ShowHelpTopic(const std::string& anchor);
  QWidget* HelpWindow() const { return helpWindow_; }

 private:
  QPointer<QWidget> helpWindow_;
};

// Bars and panels, stay on top, the temporary emphasis words.
class TKervViewCommand : public TKervWindowBoundCommand {
 public:
  using TKervWindowBoundCommand::TKervWindowBoundCommand;
  void LayoutBars();
  void SetBar(bool search, bool shown);
  void SetBarExpanded(bool search, bool expanded);
  void ApplyStayOnTop();
  void AddTemporaryWord();
};

// New windows now; the window list and arranging come with the window menu.
class TKervWindowCommand : public TKervWindowBoundCommand {
 public:
  using TKervWindowBoundCommand::TKervWindowBoundCommand;
  void NewWindow();
  // The next (or previous) window in number order comes forward.
  void NextWindow(bool forward);
  void Arrange(TArrangeKind kind);
  // The window menu's list of running windows, after its fixed items (up to fixedEnd).
  void FillWindowMenu(QMenu& menu, QAction* fixedEnd);
  // Files dropped on the window: the first opens here, each further one in a new window.
  void OpenDroppedFiles(const std::vector<std::string>& names);
};

// The tool menu Mnu_AppList, the tool dialog, and starting a tool with the
// window as its host; the temporary copy at the end.
class TKervToolLauncherCommand : public TKervWindowBoundCommand {
 public:
  TKervToolLauncherCommand(TKervSystem& system, IKervMainWindow& window);
  ~TKervToolLauncherCommand() override;

  // The menu the tools go into, after its first item (the tool dialog's action).
  void SetMenu(QMenu* menu) { menu_ = menu; }
  // Start-up: the tools with the generic image.
  void BuildMenu();
  // With the programs' icons when ShowIcon is on; without force, nothing
  // once it has run.
  void BuildMenuWithIcons(bool force);
  // Starts tool index of kervtool.ini on the document; false when it did not start.
  bool LaunchTool(int index);
  // The tool dialog; confirmed, the keys and the menu follow the new list.
  void EditTools();
  // The window is closing: the temporary copy goes when DelTemp is on and a
  // tool of this window had it written.
  void RemoveTempFile();

  // The tool items of the menu, in order (for checks).
  const std::vector<QAction*>& ToolActions() const { return toolActions_; }

 private:
  void FillMenu(bool withIcons);
  TToolLaunchSettings LaunchSettings();

  class Host;
  std::unique_ptr<Host> host_;
  QMenu* menu_ = nullptr;
  std::vector<QAction*> toolActions_;
  bool builtWithIcons_ = false;
  bool tempWritten_ = false;
};

// The other windows' requests: this window's number and answers.
class TKervMessageHandlerCommand : public TKervWindowBoundCommand {
 public:
  TKervMessageHandlerCommand(TKervSystem& system, IKervMainWindow& window);
  ~TKervMessageHandlerCommand() override;
  // Null when the windows cannot reach each other (this one runs alone).
  TKervProcessManager* Processes() { return processes_.get(); }

 private:
  std::unique_ptr<TKervWindowPort> port_;
  std::unique_ptr<TKervProcessManager> processes_;
};

// The panes' events: title, status, selection notice, Insert and Return,
// links under the mouse and the pane menu.
class TKervEditorEventCommand : public TKervWindowBoundCommand {
 public:
  using TKervWindowBoundCommand::TKervWindowBoundCommand;
  void HookPane(TEditorWidget& pane);
  void RefreshTitle();
  void ToggleOverwrite();
  void SelectionChanged(TEditor& editor, bool selected);
  char ReturnPressed(TEditor& editor);
  void OpenLink(TEditor& editor);
  void ShowPaneMenu(TEditorWidget& pane, const QPoint& globalPos);

 private:
  // The link under the mouse when the pane's menu opened: 0 none, 1 mail, 2 URL.
  int linkKind_ = 0;
  std::string linkText_;
};

}  // namespace kerv
