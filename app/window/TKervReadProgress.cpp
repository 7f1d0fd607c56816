#include "app/window/TKervReadProgress.h"

#include <QPushButton>
#include <QWidget>

#include "app/dialogs/TFormStrProgress.h"
#include "document/DocumentMessages.h"
#include "platform/qt/QtText.h"

namespace kerv {

TKervReadProgress::TKervReadProgress(QWidget& window) : window_(window) {}

TKervReadProgress::~TKervReadProgress() = default;

void TKervReadProgress::Start() { clock_.start(); }

bool TKervReadProgress::Step(int permille, bool cancellable) {
  if (!clock_.isValid() || !window_.isVisible()) return true;
  if (!dialog_) {
    if (clock_.elapsed() < kShowAfterMs) return true;
    dialog_ = std::make_unique<TFormStrProgress>(&window_);
    dialog_->setWindowTitle(Utf8(DocumentMessage(TDocumentMessage::ReadingCaption) +
                                 DocumentMessage(TDocumentMessage::TitleSuffix)));
    dialog_->Show(DocumentMessage(TDocumentMessage::Reading));
  }
  // Once the rows are being made the old text is gone: nothing to go back to.
  dialog_->Btn_Cancel->setEnabled(cancellable);
  dialog_->Update(DocumentMessage(TDocumentMessage::Reading), 1000, permille);
  return !(cancellable && dialog_->Cancelled());
}

void TKervReadProgress::Finish() {
  clock_.invalidate();
  dialog_.reset();
}

}  // namespace kerv
