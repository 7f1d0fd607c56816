#pragma once
// The progress window of the print layout: its text, a bar and Cancel.
// Layout reports every line; the window lets pending events run only every
// few tens of milliseconds, which keeps it live and Cancel pressable without
// costing the layout its speed. While shown it blocks the other windows, so
// that nothing starts another layout meanwhile.

#include <QDialog>
#include <QElapsedTimer>
#include <string>

#include "print/IStringsPrinterProgress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace kerv {

class TFormStrProgress : public QDialog, public IStringsPrinterProgress {
  Q_OBJECT

 public:
  static constexpr int kEventIntervalMs = 30;

  explicit TFormStrProgress(QWidget* parent);

  void Show(const std::string& text) override;
  void Update(const std::string& text, int64_t total, int64_t done) override;
  bool Cancelled() override { return cancelled_; }
  void Close() override;

  QLabel* Lbl_Text;
  QProgressBar* ProgressBar;
  QPushButton* Btn_Cancel;

 public slots:
  // Closing the window cancels as the button does.
  void reject() override;

 private:
  bool cancelled_ = false;
  std::string text_;
  QElapsedTimer sinceEvents_;
};

}  // namespace kerv
