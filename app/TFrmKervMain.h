#pragma once
// The main window: it holds the controls and forwards to the application
// objects; the logic lives in the core classes it calls.

#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;

namespace kerv {

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

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void Initialize();
  void ProcessCommandLine();
  bool OpenFile(const std::string& fileName, int charCode);
  void RefreshTitle();
  void SetCaretPos(int line, int col);
  void SetCodes(int charCode, int returnCode);
  void ShowNotice(const QString& text);

  TKervSystem& system_;
  std::vector<std::string> arguments_;
  std::unique_ptr<TKervParameter> parameter_;
  std::string fileName_;
  bool startedOk_ = true;

  QPlainTextEdit* editor_ = nullptr;
  QLabel* infoBar_ = nullptr;
  QLabel* caretCell_ = nullptr;
  QLabel* codeCell_ = nullptr;
  QLabel* returnCell_ = nullptr;
};

}  // namespace kerv
