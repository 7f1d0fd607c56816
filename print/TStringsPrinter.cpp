#include "print/TStringsPrinter.h"

#include <algorithm>

#include "print/EPrintError.h"
#include "print/HeaderText.h"
#include "print/PrintMessages.h"
#include "print/PrintRounding.h"
#include "print/TPageLayout.h"
#include "print/WrapText.h"

namespace kerv {
namespace {

// a x b / c rounded half away from zero, as the platform scales font sizes.
int64_t MulDiv(int64_t a, int64_t b, int64_t c) {
  const int64_t product = a * b;
  return product >= 0 ? (product + c / 2) / c : -((-product + c / 2) / c);
}

int DecimalDigits(size_t value) {
  int digits = 1;
  for (; value >= 10; value /= 10) ++digits;
  return digits;
}

TPrintTextAlign TextAlign(TStringsPrinterHeaderAlign align) {
  switch (align) {
    case TStringsPrinterHeaderAlign::haCenter: return TPrintTextAlign::Center;
    case TStringsPrinterHeaderAlign::haRight: return TPrintTextAlign::Right;
    default: return TPrintTextAlign::Left;
  }
}

// Shows the progress window for the layout and closes it on every way out.
class TProgressScope {
 public:
  TProgressScope(IStringsPrinterProgress* progress, const std::string& text) : progress_(progress) {
    if (progress_) progress_->Show(text);
  }
  ~TProgressScope() {
    if (progress_) progress_->Close();
  }
  TProgressScope(const TProgressScope&) = delete;
  TProgressScope& operator=(const TProgressScope&) = delete;

 private:
  IStringsPrinterProgress* progress_;
};

}  // namespace

int ProgressPercent(int64_t total, int64_t done) {
  if (total <= 0) {
    total = 1;
    done = 1;
  }
  done = std::clamp<int64_t>(done, 0, total);
  // done x 100 could overflow only past 9e16 lines; divide first there.
  const int64_t percent = done <= INT64_MAX / 100 ? DivRoundHalfEven(done * 100, total) : done / (total / 100);
  return static_cast<int>(std::clamp<int64_t>(percent, 0, 100));
}

TPrintRect TPrintGeometry::LineNumberBox(int column) const {
  const int64_t shift = (column - 1) * columnStep;
  return TPrintRect{content.left + shift, bodyTop, content.left + lineNumberWidth + shift, bodyBottom};
}

TPrintRect TPrintGeometry::TextBox(int column) const {
  const int64_t shift = (column - 1) * columnStep;
  const int64_t left = content.left + lineNumberWidth + shift;
  return TPrintRect{left, bodyTop, left + columnWidth, bodyBottom};
}

int TStringsPrinter::Dpi() {
  if (device_.Reachable()) {
    const int dpi = device_.HorizontalDpi();
    if (dpi > 0) return dpi;
  }
  const int screenDpi = device_.ScreenDpi();
  return screenDpi > 0 ? screenDpi : 96;
}

int64_t TStringsPrinter::MmToDots(int64_t mm, int dpi) { return DivRoundHalfEven(mm * dpi * 10, 254); }

int64_t TStringsPrinter::MmToDots(int64_t mm) { return MmToDots(mm, Dpi()); }

double TStringsPrinter::ScreenRatio() {
  if (!device_.Reachable()) return 1.0;
  const int screenDpi = device_.ScreenDpi() > 0 ? device_.ScreenDpi() : 96;
  return static_cast<double>(screenDpi) / Dpi();
}

TPrintOffsets TStringsPrinter::PrintOffsets() {
  if (!device_.Reachable()) return {};
  const std::optional<TPaperSize> paper = info_.PaperSize();
  int64_t paperWidth = paper ? MmToDots(paper->widthMm) : 0;
  int64_t paperHeight = paper ? MmToDots(paper->heightMm) : 0;
  if (device_.Landscape()) std::swap(paperWidth, paperHeight);
  const int64_t pageWidth = device_.PageWidthDots();
  const int64_t pageHeight = device_.PageHeightDots();
  TPrintOffsets strips;
  strips.left = std::max<int64_t>(0, (paperWidth - pageWidth) / 2);
  strips.top = std::max<int64_t>(0, (paperHeight - pageHeight) / 2);
  strips.right = std::max<int64_t>(0, paperWidth - pageWidth - strips.left);
  strips.bottom = std::max<int64_t>(0, paperHeight - pageHeight - strips.top);
  return strips;
}

TPrintGeometry TStringsPrinter::Geometry(size_t lineCount) {
  TPrintGeometry g;
  g.reachable = device_.Reachable();
  g.dpi = Dpi();
  if (g.reachable) {
    g.pageWidthDots = device_.PageWidthDots();
    g.pageHeightDots = device_.PageHeightDots();
  } else if (const std::optional<TPaperSize> paper = info_.PaperSize()) {
    g.pageWidthDots = MmToDots(paper->widthMm, g.dpi);
    g.pageHeightDots = MmToDots(paper->heightMm, g.dpi);
  }
  g.strips = PrintOffsets();
  // Margins count from the paper's edges; one narrower than its strip ends
  // at the printable edge.
  g.content.left = std::max<int64_t>(0, MmToDots(marginLeft_, g.dpi) - g.strips.left);
  g.content.top = std::max<int64_t>(0, MmToDots(marginTop_, g.dpi) - g.strips.top);
  g.content.right = std::min(g.pageWidthDots, g.pageWidthDots - MmToDots(marginRight_, g.dpi) + g.strips.right);
  g.content.bottom = std::min(g.pageHeightDots, g.pageHeightDots - MmToDots(marginBottom_, g.dpi) + g.strips.bottom);

  // The page surface counts in printer dots but resolves point sizes at the
  // screen's resolution: the size is divided by the screen ratio.
  const int screenDpi = device_.ScreenDpi() > 0 ? device_.ScreenDpi() : 96;
  g.pageFont.font = font_;
  if (g.reachable) g.pageFont.font.size = static_cast<int>(DivRoundHalfEven(int64_t{font_.size} * g.dpi, screenDpi));
  g.pageFont.font.size = std::max(1, g.pageFont.font.size);
  g.pageFont.emDots = MulDiv(g.pageFont.font.size, screenDpi, 72);
  measurer_.SelectFont(g.pageFont);
  g.metrics = measurer_.Metrics();
  const int64_t lineHeight = g.metrics.lineHeight;
  const int64_t charWidth = g.metrics.averageCharWidth;

  const int64_t bandHeight = 3 * lineHeight / 2;
  const bool header = headerAlign_ != TStringsPrinterHeaderAlign::haNone && !header_.empty();
  const bool footer = footerAlign_ != TStringsPrinterHeaderAlign::haNone && !footer_.empty();
  g.headerBand = {g.content.left, g.content.top, g.content.right, g.content.top + (header ? bandHeight : 0)};
  g.footerBand = {g.content.left, g.content.bottom - (footer ? bandHeight : 0), g.content.right, g.content.bottom};
  g.bodyTop = g.headerBand.bottom;
  g.bodyBottom = g.footerBand.top;

  g.columnCount = columnCount_;
  g.lineNumberWidth = lineNumber_ ? (DecimalDigits(lineCount) + 2) * charWidth : 0;
  const int64_t space = MmToDots(columnSpace_, g.dpi);
  g.columnWidth = (g.content.right - (g.content.left + g.lineNumberWidth) - (space + g.lineNumberWidth) * (columnCount_ - 1)) /
                  columnCount_;
  g.columnStep = space + g.lineNumberWidth + g.columnWidth;
  g.rowGap = MmToDots(marginLine_, g.dpi);
  // An italic font leans past its advance widths.
  g.wrapWidth = g.columnWidth - (g.metrics.italic ? charWidth : 0);

  // Wrapping divides by the width and a page must take a row, or the layout
  // would never end: such settings are refused before anything is drawn.
  if (g.columnWidth <= 0 || g.wrapWidth <= 0) throw EPrintError(TPrintMessage::NoRoomForText);
  if (g.bodyBottom - g.bodyTop < lineHeight + g.rowGap) throw EPrintError(TPrintMessage::NoRoomForRow);
  return g;
}

std::vector<std::string_view> TStringsPrinter::WrapText(std::string_view line, int64_t widthDots) {
  return kerv::WrapText(line, widthDots, measurer_);
}

TPrintJobOptions TStringsPrinter::JobOptions() const {
  TPrintJobOptions options;
  options.copies = copies_;
  options.collate = collate_;
  options.firstPageNumber = firstPageNumber_;
  options.rangeOption = rangeOption_;
  options.startPage = startPage_;
  options.lastPage = lastPage_;
  options.pageOption = pageOption_;
  return options;
}

void TStringsPrinter::DrawBand(TPagePicture& page, TPrintTextRole role, const TPrintRect& band,
                               TStringsPrinterHeaderAlign align, const std::string& text) {
  if (align == TStringsPrinterHeaderAlign::haNone || text.empty()) return;
  const std::string expanded = ExpandHeaderText(text, currentPageNumber_, fileName_, clock_.Now());
  page.DrawText(role, band, TextAlign(align), expanded);
}

TPagePicture& TStringsPrinter::BeginPage(TMetaFileList& pages, const TPrintGeometry& geometry) {
  TPagePicture& page = pages.Add(geometry.pageWidthDots, geometry.pageHeightDots, geometry.pageFont);
  DrawBand(page, TPrintTextRole::Header, geometry.headerBand, headerAlign_, header_);
  return page;
}

bool TStringsPrinter::MakePages(TPrintLines lines, TMetaFileList& pages, const std::string& progressText) {
  TPageLayout layout(*this, lines, pages);
  TProgressScope scope(progress_, progressText);
  const int64_t total = static_cast<int64_t>(lines.size()) - 1;
  while (layout.LinesDone() < lines.size()) {
    if (progress_) {
      progress_->Update(progressText, total, static_cast<int64_t>(layout.LinesDone()));
      if (progress_->Cancelled()) {
        pages.Clear();
        return false;
      }
    }
    layout.Step();
  }
  layout.Finish();
  return true;
}

bool TStringsPrinter::Print(TPrintLines lines, IPrintJob& job) {
  TMetaFileList pages;
  if (!MakePages(lines, pages, PrintMessage(TPrintMessage::ProgressPrinting))) return false;
  PrintPages(pages, job);
  return true;
}

void TStringsPrinter::PrintPages(const TMetaFileList& pages, IPrintJob& job) {
  const TPrintJobPlan plan = PlanPrintJob(JobOptions(), pages.Count());
  if (plan.sheets.empty()) return;
  if (!job.Begin(plan.printerCopies)) throw EPrintError(TPrintMessage::PrintStartFailed);
  bool sent = true;
  try {
    for (const TPrintSheet& sheet : plan.sheets) {
      if (sheet.newPageBefore && !job.NewPage()) {
        sent = false;
        break;
      }
      const TPagePicture& page = pages.Items(sheet.pageIndex);
      job.DrawPage(page, TPrintRect{0, 0, page.WidthDots(), page.HeightDots()});
    }
  } catch (...) {
    job.End();
    throw;
  }
  const bool ended = job.End();
  if (!sent) throw EPrintError(TPrintMessage::PrintPageFailed);
  if (!ended) throw EPrintError(TPrintMessage::PrintEndFailed);
}

}  // namespace kerv
