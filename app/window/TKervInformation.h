#pragma once
// Message boxes, the info bar and the status-bar cells of one window.

#include <QObject>
#include <QString>
#include <QTimer>

#include "app/commands/TKervInformation.h"

class QLabel;
class QMenu;
class QWidget;

namespace kerv {

class IDialogs;
struct TKervState;

class TKervInformation : public QObject, public IKervInformation {
  Q_OBJECT

 public:
  TKervInformation(IDialogs& dialogs, TKervState& state, QObject* parent);

  // The widgets it writes to (made by the window).
  void SetInfoBar(QWidget* bar, QLabel* label) {
    infoBar_ = bar;
    infoLabel_ = label;
  }
  struct Cells {
    QLabel* hint = nullptr;
    QLabel* caret = nullptr;
    QLabel* code = nullptr;
    QLabel* returnCode = nullptr;
    QLabel* overwrite = nullptr;
    QLabel* readOnly = nullptr;
  };
  void SetCells(const Cells& cells) { cells_ = cells; }
  void SetCodeMenus(QMenu* charCodes, QMenu* returnCodes) {
    charCodeMenu_ = charCodes;
    returnCodeMenu_ = returnCodes;
  }
  // From the settings: the info bar in use, and how long a notice stays.
  void SetInfoBarOptions(bool useInfoBar, int seconds) {
    useInfoBar_ = useInfoBar;
    infoBarSeconds_ = seconds;
  }

  // IKervInformation
  Answer MessageBox(const std::string& text, int kind, int buttons) override;
  void Notify(const std::string& text, int level) override;

  // Only with the info bar shown: level 100 repeats the last notice.
  void ShowNotice(const std::string& text, int level);
  bool HasLastNotice() const { return hasLast_; }
  void ShowLastNotice() { ShowNotice({}, nlRepeat); }
  bool InfoBarShown() const;

  void SetCodes(int charCode, int returnCode);
  void SetCaretPos(int line, int col);
  void SetOverwrite(bool on);
  void SetReadOnlyShown(bool on);
  void SetHint(const QString& text);

  QString CaretText() const { return caretText_; }
  QString CodeText() const { return codeText_; }
  QString ReturnText() const { return returnText_; }
  QString OverwriteText() const { return overwriteText_; }
  QString NoticeText() const;

 private:
  void ClearNotice();

  IDialogs& dialogs_;
  TKervState& state_;
  QWidget* infoBar_ = nullptr;
  QLabel* infoLabel_ = nullptr;
  Cells cells_;
  QMenu* charCodeMenu_ = nullptr;
  QMenu* returnCodeMenu_ = nullptr;
  bool useInfoBar_ = true;
  int infoBarSeconds_ = 10;
  QTimer timer_;
  std::string lastText_;
  int lastLevel_ = nlPlain;
  bool hasLast_ = false;
  QString caretText_, codeText_, returnText_, overwriteText_;
  bool readOnlyShown_ = false;
};

}  // namespace kerv
