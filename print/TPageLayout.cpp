#include "print/TPageLayout.h"

#include "print/WrapText.h"

namespace kerv {

TPageLayout::TPageLayout(TStringsPrinter& printer, TPrintLines lines, TMetaFileList& pages)
    : printer_(printer), lines_(lines), pages_(pages) {
  // Refused settings leave no pages behind, not even the caller's old ones.
  pages_.Clear();
  geometry_ = printer_.Geometry(lines.size());
  printer_.currentLineNumber_ = printer_.firstLineNumber_ - 1;
  printer_.currentPageNumber_ = printer_.firstPageNumber_;
  if (printer_.rangeOption_ == TStringsPrinterRangeOption::roLimited) {
    printer_.currentPageNumber_ += 1 - printer_.startPage_;
  }
  page_ = &printer_.BeginPage(pages_, geometry_);
  y_ = geometry_.bodyTop;
}

void TPageLayout::NextPage() {
  printer_.DrawBand(*page_, TPrintTextRole::Footer, geometry_.footerBand, printer_.footerAlign_, printer_.footer_);
  ++printer_.currentPageNumber_;
  page_ = &printer_.BeginPage(pages_, geometry_);
  column_ = 1;
}

void TPageLayout::Step() {
  if (finished_) return;
  if (nextLine_ == lines_.size()) {
    printer_.DrawBand(*page_, TPrintTextRole::Footer, geometry_.footerBand, printer_.footerAlign_, printer_.footer_);
    finished_ = true;
    return;
  }
  const size_t index = nextLine_++;
  const int64_t lineNo = static_cast<int64_t>(index) + 1;
  if (printer_.lineRangeOption_ == TStringsPrinterRangeOption::roLimited &&
      (lineNo < printer_.startLine_ || lineNo > printer_.lastLine_)) {
    return;
  }
  const TPrintGeometry& g = geometry_;
  const int64_t lineHeight = g.metrics.lineHeight;
  ++printer_.currentLineNumber_;
  // "n:" on every row of the line.
  const std::string number = printer_.lineNumber_ ? std::to_string(printer_.currentLineNumber_) + ":" : std::string();
  for (std::string_view row : WrapText(lines_[index], g.wrapWidth, printer_.measurer_)) {
    if (g.bodyBottom < y_ + lineHeight + g.rowGap) {
      if (column_ < g.columnCount) {
        ++column_;
      } else {
        NextPage();
      }
      y_ = g.bodyTop;
    }
    if (printer_.lineNumber_) {
      const TPrintRect box = g.LineNumberBox(column_);
      page_->DrawText(TPrintTextRole::LineNumber, {box.left, y_, box.right, y_ + lineHeight}, TPrintTextAlign::Right,
                      number);
    }
    const TPrintRect box = g.TextBox(column_);
    page_->DrawText(TPrintTextRole::Body, {box.left, y_, box.right, y_ + lineHeight}, TPrintTextAlign::Left, row);
    y_ += lineHeight + g.rowGap;
  }
}

void TPageLayout::LayOutPages(size_t pageCount) {
  while (!finished_ && CompletePages() < pageCount) Step();
}

void TPageLayout::Finish() {
  while (!finished_) Step();
}

}  // namespace kerv
