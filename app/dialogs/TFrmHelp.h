#pragma once
// The user guide in a window of the program, for a desktop that has no
// program to open it with.

#include <QDialog>

class QTextBrowser;

namespace kerv {

class TFrmHelp : public QDialog {
  Q_OBJECT
 public:
  // file: the guide's HTML file (its links to neighbouring files work too).
  TFrmHelp(const QString& file, QWidget* parent = nullptr);
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

}  // namespace kerv
