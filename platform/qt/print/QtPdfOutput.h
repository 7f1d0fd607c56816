#pragma once
// Printing into a PDF file, which every machine can do: the page is the
// whole sheet of the chosen paper (no unprintable strips) at a fixed
// resolution, and the file is written whole or not at all.

#include <QPageLayout>
#include <QPainter>
#include <QSaveFile>
#include <QString>
#include <memory>

#include "platform/CodePage.h"
#include "platform/qt/print/QtPageReplay.h"
#include "print/IPrintJob.h"
#include "print/IPrinterDevice.h"

class QPdfWriter;

namespace kerv {

// The page layout of a PDF: a paper and an orientation, no margins.
QPageLayout PdfPageLayout(const QPageSize& paper, QPageLayout::Orientation orientation);

// A paper as the print dialog lists it: name, size in tenths of a millimetre, code.
TPrinterForm PrinterFormOf(const QPageSize& size);

class QtPdfDevice : public IPrinterDevice {
 public:
  // The resolution the layout counts dots in; a PDF draws in vectors, so
  // this only sets how finely positions are rounded.
  static constexpr int kDpi = 1200;
  // Whatever index no installed printer has: the paper cache is rebuilt when
  // the output changes between a printer and a file.
  static constexpr int kPrinterIndex = -2;

  QtPdfDevice(const QPageLayout& layout, int screenDpi) : layout_(layout), screenDpi_(screenDpi) {}

  bool Reachable() override { return true; }
  int PrinterIndex() override { return kPrinterIndex; }
  std::optional<std::string> PrinterName() override;
  std::optional<std::vector<TPrinterForm>> PaperForms() override;
  std::optional<int> CurrentPaperCode() override;
  int HorizontalDpi() override { return kDpi; }
  int64_t PageWidthDots() override;
  int64_t PageHeightDots() override;
  bool Landscape() override { return layout_.orientation() == QPageLayout::Landscape; }
  int ScreenDpi() override { return screenDpi_; }

  const QPageLayout& Layout() const { return layout_; }

 private:
  QPageLayout layout_;
  int screenDpi_;
};

class QtPdfJob : public IPrintJob {
 public:
  QtPdfJob(const QString& fileName, const QPageLayout& layout, ICodePage& codePage, const QString& title = QString());
  ~QtPdfJob() override;

  // False when the file cannot be created (no folder, no permission).
  bool Begin(int printerCopies) override;
  bool NewPage() override;
  // A PDF makes no copies itself: uncollated copies repeat each page here.
  void DrawPage(const TPagePicture& page, const TPrintRect& target) override;
  // Replaces the file only when every byte was written; false otherwise,
  // and then the file (or what was there before) is left as it was.
  bool End() override;

 private:
  QSaveFile file_;
  QPageLayout layout_;
  QString title_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
  QtPageReplay replay_;
  int copies_ = 1;
};

}  // namespace kerv
