#include "app/dialogs/TFrmReplacing.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "search/SearchMessages.h"

namespace kerv {

TFrm_Replacing::TFrm_Replacing(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromUtf8(searchmessages::kReplacingCaption));
  label_ = new QLabel(this);
  label_->setObjectName("Lbl_Num");
  label_->setAlignment(Qt::AlignCenter);
  cancel_ = new QPushButton(QString::fromUtf8(searchmessages::kCancel), this);
  cancel_->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
  layout->addWidget(cancel_, 0, Qt::AlignCenter);
  connect(cancel_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
  SetCount(0);
  // Wide enough for its caption; shown, it is centred on the main window.
  setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 160);
}

void TFrm_Replacing::SetCount(int count) {
  label_->setText(QString::fromUtf8(searchmessages::kReplacingCount) + QString::number(count));
}

void TFrm_Replacing::paintEvent(QPaintEvent* event) {
  // Stays above the main window, which keeps receiving the editor's repaints.
  raise();
  QDialog::paintEvent(event);
}

TFrmReplacingProgress::~TFrmReplacingProgress() { End(); }

void TFrmReplacingProgress::Start() {
  End();
  cancelled_ = false;
  window_ = new TFrm_Replacing(mainWindow_);
  // The main window takes no input while the text is being replaced; only
  // this window's cancel does.
  window_->setWindowModality(Qt::WindowModal);
  if (OnRunning) OnRunning(true);
  window_->show();
  QCoreApplication::processEvents();
}

void TFrmReplacingProgress::Step(int count) {
  if (!window_) return;
  window_->SetCount(count);
  QCoreApplication::processEvents();
  // A closed window counts as cancelled: the user ended it.
  cancelled_ = !window_ || window_->CancelPressed();
}

bool TFrmReplacingProgress::Cancelled() { return cancelled_; }

void TFrmReplacingProgress::End() {
  // Not close(): the window answers a close like Esc, by only noting a cancel.
  if (window_) {
    window_->hide();
    window_->deleteLater();
    if (OnRunning) OnRunning(false);
  }
  window_ = nullptr;
}

}  // namespace kerv
