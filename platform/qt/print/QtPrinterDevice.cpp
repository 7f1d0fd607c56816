#include "platform/qt/print/QtPrinterDevice.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

#include "platform/qt/print/QtPdfOutput.h"

namespace kerv {

bool QtPrinterDevice::PrintsToPdf() const { return printer_.outputFormat() == QPrinter::PdfFormat; }

QPageLayout QtPrinterDevice::PdfLayout() const {
  return PdfPageLayout(printer_.pageLayout().pageSize(), printer_.pageLayout().orientation());
}

bool QtPrinterDevice::Reachable() {
  if (PrintsToPdf()) return true;
  return printer_.isValid() && printer_.resolution() > 0;
}

int QtPrinterDevice::PrinterIndex() {
  if (PrintsToPdf()) return QtPdfDevice::kPrinterIndex;
  return static_cast<int>(QPrinterInfo::availablePrinterNames().indexOf(printer_.printerName()));
}

std::optional<std::string> QtPrinterDevice::PrinterName() {
  if (PrintsToPdf()) return QtPdfDevice(PdfLayout(), screenDpi_).PrinterName();
  const QString name = printer_.printerName();
  if (name.isEmpty()) return std::nullopt;
  return name.toStdString();
}

std::optional<std::vector<TPrinterForm>> QtPrinterDevice::PaperForms() {
  if (PrintsToPdf()) return QtPdfDevice(PdfLayout(), screenDpi_).PaperForms();
  const QPrinterInfo info(printer_);
  if (info.isNull()) return std::nullopt;
  std::vector<TPrinterForm> forms;
  for (const QPageSize& size : info.supportedPageSizes()) forms.push_back(PrinterFormOf(size));
  return forms;
}

std::optional<int> QtPrinterDevice::CurrentPaperCode() {
  if (PrintsToPdf()) return QtPdfDevice(PdfLayout(), screenDpi_).CurrentPaperCode();
  const int code = printer_.pageLayout().pageSize().windowsId();
  if (code <= 0) return std::nullopt;
  return code;
}

int QtPrinterDevice::HorizontalDpi() { return PrintsToPdf() ? QtPdfDevice::kDpi : printer_.resolution(); }

int64_t QtPrinterDevice::PageWidthDots() {
  return PrintsToPdf() ? QtPdfDevice(PdfLayout(), screenDpi_).PageWidthDots() : printer_.width();
}

int64_t QtPrinterDevice::PageHeightDots() {
  return PrintsToPdf() ? QtPdfDevice(PdfLayout(), screenDpi_).PageHeightDots() : printer_.height();
}

bool QtPrinterDevice::Landscape() { return printer_.pageLayout().orientation() == QPageLayout::Landscape; }

bool QtPrinterJob::Begin(int printerCopies) {
  printer_.setCopyCount(printerCopies);
  // Without a spooler that makes copies, the job sends each page that often.
  ownCopies_ = printer_.supportsMultipleCopies() ? 1 : std::max(1, printerCopies);
  if (ownCopies_ > 1) printer_.setCopyCount(1);
  return painter_.begin(&printer_);
}

bool QtPrinterJob::NewPage() { return printer_.newPage(); }

void QtPrinterJob::DrawPage(const TPagePicture& page, const TPrintRect& target) {
  const QRectF rect(static_cast<double>(target.left), static_cast<double>(target.top),
                    static_cast<double>(target.Width()), static_cast<double>(target.Height()));
  for (int copy = 0; copy < ownCopies_; ++copy) {
    if (copy > 0 && !printer_.newPage()) return;
    replay_.Draw(painter_, page, rect);
  }
}

bool QtPrinterJob::End() {
  const bool ended = !painter_.isActive() || painter_.end();
  return ended && printer_.printerState() != QPrinter::Error && printer_.printerState() != QPrinter::Aborted;
}

}  // namespace kerv
