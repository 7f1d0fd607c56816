#pragma once
// The replace-all progress window "全置換処理中": the running count and a
// cancel button; and the search command's progress port over it.

#include <QDialog>
#include <QPointer>
#include <functional>

#include "app/commands/TKervSearchWindow.h"

class QLabel;
class QPushButton;

namespace kerv {

class TFrm_Replacing : public QDialog {
  Q_OBJECT
 public:
  // Opens centred on the main window.
  explicit TFrm_Replacing(QWidget* mainWindow);

  void SetCount(int count);
  bool CancelPressed() const { return cancelled_; }
  QLabel* Lbl_Num() const { return label_; }
  QPushButton* CancelButton() const { return cancel_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Esc cancels like the button; the window stays until the loop closes it.
  void reject() override { cancelled_ = true; }

 private:
  QLabel* label_;
  QPushButton* cancel_;
  bool cancelled_ = false;
};

// One window per replace-all; Step lets the window repaint and take the cancel click.
class TFrmReplacingProgress : public IKervSearchProgress {
 public:
  explicit TFrmReplacingProgress(QWidget* mainWindow) : mainWindow_(mainWindow) {}
  ~TFrmReplacingProgress() override;

  void Start() override;
  void Step(int count) override;
  bool Cancelled() override;
  void End() override;
  // The window while a replace-all runs (the main window moves the focus to it).
  TFrm_Replacing* Window() const { return window_; }
  // Told true when a replace-all starts and false when it ends, so the
  // document takes no edits from the user meanwhile.
  std::function<void(bool running)> OnRunning;

 private:
  QWidget* mainWindow_;
  QPointer<TFrm_Replacing> window_;
  bool cancelled_ = false;
};

}  // namespace kerv
