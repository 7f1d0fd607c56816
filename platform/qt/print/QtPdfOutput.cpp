#include "platform/qt/print/QtPdfOutput.h"

#include <QPdfWriter>
#include <cmath>

#include "print/PrintMessages.h"

namespace kerv {

QPageLayout PdfPageLayout(const QPageSize& paper, QPageLayout::Orientation orientation) {
  return QPageLayout(paper, orientation, QMarginsF(0, 0, 0, 0));
}

std::optional<std::string> QtPdfDevice::PrinterName() { return std::string(PrintMessage(TPrintMessage::PdfPrinterName)); }

TPrinterForm PrinterFormOf(const QPageSize& size) {
  const QSizeF mm = size.size(QPageSize::Millimeter);
  TPrinterForm form;
  form.name = size.name().toStdString();
  form.widthTenthsMm = static_cast<int>(std::lround(mm.width() * 10));
  form.heightTenthsMm = static_cast<int>(std::lround(mm.height() * 10));
  form.code = static_cast<uint16_t>(size.windowsId());
  return form;
}

std::optional<std::vector<TPrinterForm>> QtPdfDevice::PaperForms() {
  return std::vector<TPrinterForm>{PrinterFormOf(layout_.pageSize())};
}

std::optional<int> QtPdfDevice::CurrentPaperCode() {
  const int code = layout_.pageSize().windowsId();
  if (code <= 0) return std::nullopt;
  return code;
}

int64_t QtPdfDevice::PageWidthDots() { return layout_.paintRectPixels(kDpi).width(); }

int64_t QtPdfDevice::PageHeightDots() { return layout_.paintRectPixels(kDpi).height(); }

QtPdfJob::QtPdfJob(const QString& fileName, const QPageLayout& layout, ICodePage& codePage, const QString& title)
    : file_(fileName), layout_(layout), title_(title), replay_(codePage) {}

QtPdfJob::~QtPdfJob() {
  if (painter_.isActive()) painter_.end();
  // An unfinished job leaves no temporary file and no half-written PDF.
  file_.cancelWriting();
}

bool QtPdfJob::Begin(int printerCopies) {
  copies_ = std::max(1, printerCopies);
  if (!file_.open(QIODevice::WriteOnly)) return false;
  writer_ = std::make_unique<QPdfWriter>(&file_);
  writer_->setResolution(QtPdfDevice::kDpi);
  writer_->setPageLayout(layout_);
  writer_->setCreator(QStringLiteral("KervEditor"));
  if (!title_.isEmpty()) writer_->setTitle(title_);
  if (!painter_.begin(writer_.get())) {
    file_.cancelWriting();
    return false;
  }
  return true;
}

bool QtPdfJob::NewPage() { return writer_ && writer_->newPage(); }

void QtPdfJob::DrawPage(const TPagePicture& page, const TPrintRect& target) {
  const QRectF rect(static_cast<double>(target.left), static_cast<double>(target.top),
                    static_cast<double>(target.Width()), static_cast<double>(target.Height()));
  for (int copy = 0; copy < copies_; ++copy) {
    if (copy > 0 && !NewPage()) return;
    replay_.Draw(painter_, page, rect);
  }
}

bool QtPdfJob::End() {
  const bool painted = !painter_.isActive() || painter_.end();
  writer_.reset();
  if (!painted || file_.error() != QFileDevice::NoError) {
    file_.cancelWriting();
    return false;
  }
  return file_.commit();
}

}  // namespace kerv
