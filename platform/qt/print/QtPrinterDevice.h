#pragma once
// A system printer (CUPS through Qt's print support) as printing sees it,
// and a print job on it.

#include <QPageLayout>
#include <QPainter>

#include "platform/CodePage.h"
#include "platform/qt/print/QtPageReplay.h"
#include "print/IPrintJob.h"
#include "print/IPrinterDevice.h"

class QPrinter;

namespace kerv {

// A printer set to PDF output (as Qt sets it on a machine without printers,
// or as the user chose in the printer setup) answers as a PDF file does: the
// whole sheet of its paper, no strips.
class QtPrinterDevice : public IPrinterDevice {
 public:
  QtPrinterDevice(QPrinter& printer, int screenDpi) : printer_(printer), screenDpi_(screenDpi) {}

  bool PrintsToPdf() const;
  // The layout of the PDF the printer's paper and orientation make.
  QPageLayout PdfLayout() const;

  bool Reachable() override;
  int PrinterIndex() override;
  std::optional<std::string> PrinterName() override;
  std::optional<std::vector<TPrinterForm>> PaperForms() override;
  std::optional<int> CurrentPaperCode() override;
  int HorizontalDpi() override;
  int64_t PageWidthDots() override;
  int64_t PageHeightDots() override;
  bool Landscape() override;
  int ScreenDpi() override { return screenDpi_; }

 private:
  QPrinter& printer_;
  int screenDpi_;
};

// Pages go to the printer with the painter's origin at the printable area's
// corner, where the layout measured from.
class QtPrinterJob : public IPrintJob {
 public:
  QtPrinterJob(QPrinter& printer, ICodePage& codePage) : printer_(printer), replay_(codePage) {}

  bool Begin(int printerCopies) override;
  bool NewPage() override;
  void DrawPage(const TPagePicture& page, const TPrintRect& target) override;
  bool End() override;

 private:
  QPrinter& printer_;
  QtPageReplay replay_;
  QPainter painter_;
  // Copies of each page the job sends itself, where the printer cannot.
  int ownCopies_ = 1;
};

}  // namespace kerv
