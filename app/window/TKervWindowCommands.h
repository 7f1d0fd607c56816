#pragma once
// The command families of the main window that need its widgets: dialogs,
// information, view, window, tool launcher, the other windows' messages and
// the editor panes' events. The window forwards to them; they hold the rules.

#include <QPoint>
#include <QString>
#include <memory>
#include <string>

#include "app/commands/TKervCommand.h"

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

// Settings, edit-mode settings, search options, the temporary words and
// font, go to line, text to image and the image window; the single-dialog
// rule across windows.
class TKervDialogCommand : public TKervWindowBoundCommand {
 public:
  TKervDialogCommand(TKervSystem& system, IKervMainWindow& window);
  ~TKervDialogCommand() override;
  bool MayOpenDialog(int dialogState);
  void OpenSettingsDialog();
  void OpenEditModeDialog();
  void OpenSearchOptions();
  void EditTemporaryWords();
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
  // The help file, at a topic's anchor when one is given.
  void ShowHelp(const std::string& topic = {});
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
};

// The tool menu comes with the tool launcher.
class TKervToolLauncherCommand : public TKervWindowBoundCommand {
 public:
  using TKervWindowBoundCommand::TKervWindowBoundCommand;
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
