#include "app/dialogs/TFormStrProgress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/QtText.h"
#include "print/PrintMessages.h"

namespace kerv {

TFormStrProgress::TFormStrProgress(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Utf8(PrintMessage(TPrintMessage::ProgressCaption)));
  setWindowModality(Qt::ApplicationModal);
  auto* layout = new QVBoxLayout(this);
  Lbl_Text = new QLabel(this);
  Lbl_Text->setMinimumWidth(260);
  ProgressBar = new QProgressBar(this);
  ProgressBar->setRange(0, 100);
  Btn_Cancel = new QPushButton(Utf8(PrintMessage(TPrintMessage::ProgressCancel)), this);
  layout->addWidget(Lbl_Text);
  layout->addWidget(ProgressBar);
  layout->addWidget(Btn_Cancel, 0, Qt::AlignHCenter);
  connect(Btn_Cancel, &QPushButton::clicked, this, [this] { cancelled_ = true; });
}

void TFormStrProgress::Show(const std::string& text) {
  cancelled_ = false;
  text_ = text;
  Lbl_Text->setText(Utf8(text));
  ProgressBar->setValue(0);
  show();
  raise();
  QCoreApplication::processEvents();
  sinceEvents_.start();
}

void TFormStrProgress::Update(const std::string& text, int64_t total, int64_t done) {
  if (text != text_) {
    text_ = text;
    Lbl_Text->setText(Utf8(text));
  }
  const int percent = ProgressPercent(total, done);
  if (percent != ProgressBar->value()) ProgressBar->setValue(percent);
  if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= kEventIntervalMs) {
    QCoreApplication::processEvents();
    sinceEvents_.start();
  }
}

void TFormStrProgress::Close() { hide(); }

void TFormStrProgress::reject() { cancelled_ = true; }

}  // namespace kerv
