#pragma once
// The main window: it holds the controls and forwards to the application
// objects; the logic lives in the core classes it calls.

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QKeySequence;
class QLabel;
class QMenu;

namespace kerv {

class TEditorWidget;
class TKervEditModeManager;
class TKervEditModeUser;
class TKervSystem;
class TKervParameter;

class TFrmKervMain : public QMainWindow {
  Q_OBJECT

 public:
  TFrmKervMain(TKervSystem& system, std::vector<std::string> arguments);
  ~TFrmKervMain() override;

  // False when the start file was refused or failed: the process ends with no window.
  bool StartedOk() const { return startedOk_; }
  // Shows the window as the command line asked (normal, minimized, or the default).
  void Place();

  // What the status bar and info bar show, for the start-up checks.
  QString CaretText() const;
  QString CodeText() const;
  QString ReturnText() const;
  QString InfoText() const;
  QString DocumentText() const;
  TEditorWidget& EditorWidget() { return *editor_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  // The actions the window has so far, each in a menu, with its default shortcut.
  void CreateActions();
  QAction* AddAction(QMenu* menu, const char* name, const char* caption, const QKeySequence& shortcut,
                     std::function<void()> run, bool checkable = false);
  void Initialize();
  void ProcessCommandLine();
  bool OpenFile(const std::string& fileName, int charCode);
  void RefreshTitle();
  void SetCaretPos(int line, int col);
  void SetCodes(int charCode, int returnCode);
  void ShowNotice(const QString& text);
  void EditorCaretMoved();
  // Picks the edit mode of fileName's extension and applies it to the editor.
  void ApplyModeForFile(const std::string& fileName);

  TKervSystem& system_;
  std::vector<std::string> arguments_;
  std::unique_ptr<TKervParameter> parameter_;
  std::unique_ptr<TKervEditModeUser> modeUser_;
  std::unique_ptr<TKervEditModeManager> modes_;
  std::string fileName_;
  bool startedOk_ = true;

  TEditorWidget* editor_ = nullptr;
  QAction* lineNumbersAction_ = nullptr;
  QAction* rulerAction_ = nullptr;
  QAction* wordWrapAction_ = nullptr;
  QLabel* infoBar_ = nullptr;
  QLabel* caretCell_ = nullptr;
  QLabel* codeCell_ = nullptr;
  QLabel* returnCell_ = nullptr;
};

}  // namespace kerv
