#pragma once
// The text printer: lays a list of Shift_JIS lines out on pages (margins,
// one to three columns, line numbers, header and footer with variables,
// wrapping of lines wider than a column) and records every page as a
// TPagePicture. The window half shows the pages in its preview or sends
// them to the printer through Print; measuring, the printer and the clock
// come through interfaces so that the layout runs and is tested without a
// window system.
//
// Use: construct with the device, the measurer and the clock; set the
// properties (Font, margins, ColumnCount, Header, ...); optionally
// SetProgress; then MakePages(lines, pages, text) for a preview, or
// Print(lines, job). Both throw EPrintError when the settings leave no room
// for a row, before anything is laid out or shown.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/TKervFilePorts.h"
#include "print/IPrintJob.h"
#include "print/IPrintMeasurer.h"
#include "print/IPrinterDevice.h"
#include "print/IStringsPrinterProgress.h"
#include "print/StringsPrinterEnums.h"
#include "print/TPagePicture.h"
#include "print/TPrintJobPlan.h"
#include "print/TStringsPrinterInfo.h"

namespace kerv {

// The lines to print, Shift_JIS without line breaks, tabs already expanded.
using TPrintLines = std::span<const std::string>;

// The unprintable strips around the printable page, in printer dots.
struct TPrintOffsets {
  int64_t left = 0;
  int64_t top = 0;
  int64_t right = 0;
  int64_t bottom = 0;
  bool operator==(const TPrintOffsets&) const = default;
};

// Everything the layout places by, in printer dots on the printable page.
struct TPrintGeometry {
  bool reachable = false;     // a printer answered; else paper table and screen
  int dpi = 96;               // the resolution MmToDots converts with
  int64_t pageWidthDots = 0;  // the printable page W x H
  int64_t pageHeightDots = 0;
  TPrintOffsets strips;
  TPrintRect content;         // inside the margins
  TPageFont pageFont;
  TPrintFontMetrics metrics;  // of the page font
  TPrintRect headerBand;      // empty (zero height) when no header is drawn
  TPrintRect footerBand;
  int64_t bodyTop = 0;
  int64_t bodyBottom = 0;
  int64_t lineNumberWidth = 0;
  int64_t columnWidth = 0;    // of a column's text box
  int64_t columnStep = 0;     // from one column to the next
  int64_t rowGap = 0;         // extra space below every row
  int64_t wrapWidth = 0;      // the width lines are wrapped to
  int columnCount = 1;

  // Boxes of column (1-based) over the body's height.
  TPrintRect LineNumberBox(int column) const;
  TPrintRect TextBox(int column) const;
};

class TStringsPrinter {
 public:
  static constexpr int kMaxNumber = 999999;

  TStringsPrinter(IPrinterDevice& device, IPrintMeasurer& measurer, IKervClock& clock)
      : device_(device), measurer_(measurer), clock_(clock), info_(device) {}

  // Properties. Integer setters clamp to the range named; margins and spaces
  // are whole millimetres.
  int Copies() const { return copies_; }
  void SetCopies(int value) { copies_ = value; }
  bool Collate() const { return collate_; }
  void SetCollate(bool value) { collate_ = value; }
  int ColumnCount() const { return columnCount_; }
  void SetColumnCount(int value) { columnCount_ = Clamp(value, 1, 3); }  // 1..3
  int ColumnSpace() const { return columnSpace_; }
  void SetColumnSpace(int value) { columnSpace_ = Clamp(value, 0, 100); }
  // Shift_JIS path for %F and %f.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& value) { fileName_ = value; }
  int FirstLineNumber() const { return firstLineNumber_; }
  void SetFirstLineNumber(int value) { firstLineNumber_ = Clamp(value, 1, kMaxNumber); }
  int FirstPageNumber() const { return firstPageNumber_; }
  void SetFirstPageNumber(int value) { firstPageNumber_ = Clamp(value, 1, kMaxNumber); }
  const TPrintFont& Font() const { return font_; }
  void SetFont(const TPrintFont& value) { font_ = value; }
  const std::string& Footer() const { return footer_; }
  void SetFooter(const std::string& value) { footer_ = value; }
  TStringsPrinterHeaderAlign FooterAlign() const { return footerAlign_; }
  void SetFooterAlign(TStringsPrinterHeaderAlign value) { footerAlign_ = value; }
  const std::string& Header() const { return header_; }
  void SetHeader(const std::string& value) { header_ = value; }
  TStringsPrinterHeaderAlign HeaderAlign() const { return headerAlign_; }
  void SetHeaderAlign(TStringsPrinterHeaderAlign value) { headerAlign_ = value; }
  int LastLine() const { return lastLine_; }  // 0 until set: a limited range prints nothing
  void SetLastLine(int value) { lastLine_ = Clamp(value, 1, kMaxNumber); }
  int LastPage() const { return lastPage_; }
  void SetLastPage(int value) { lastPage_ = Clamp(value, 1, kMaxNumber); }
  bool LineNumber() const { return lineNumber_; }
  void SetLineNumber(bool value) { lineNumber_ = value; }
  TStringsPrinterRangeOption LineRangeOption() const { return lineRangeOption_; }
  void SetLineRangeOption(TStringsPrinterRangeOption value) { lineRangeOption_ = value; }
  int MarginBottom() const { return marginBottom_; }
  void SetMarginBottom(int value) { marginBottom_ = Clamp(value, 0, 100); }
  int MarginLeft() const { return marginLeft_; }
  void SetMarginLeft(int value) { marginLeft_ = Clamp(value, 0, 100); }
  int MarginRight() const { return marginRight_; }
  void SetMarginRight(int value) { marginRight_ = Clamp(value, 0, 100); }
  int MarginTop() const { return marginTop_; }
  void SetMarginTop(int value) { marginTop_ = Clamp(value, 0, 100); }
  int MarginLine() const { return marginLine_; }
  void SetMarginLine(int value) { marginLine_ = Clamp(value, 0, 100); }
  TStringsPrinterPageOption PageOption() const { return pageOption_; }
  void SetPageOption(TStringsPrinterPageOption value) { pageOption_ = value; }
  TStringsPrinterRangeOption RangeOption() const { return rangeOption_; }
  void SetRangeOption(TStringsPrinterRangeOption value) { rangeOption_ = value; }
  int StartLine() const { return startLine_; }
  void SetStartLine(int value) { startLine_ = Clamp(value, 1, kMaxNumber); }
  int StartPage() const { return startPage_; }
  void SetStartPage(int value) { startPage_ = Clamp(value, 1, kMaxNumber); }

  // The progress window for MakePages; none (nullptr) lays out silently.
  void SetProgress(IStringsPrinterProgress* progress) { progress_ = progress; }
  TStringsPrinterInfo& PrinterInfo() { return info_; }

  // Lays out every page into pages (emptied first). False when Cancel was
  // pressed; the pages made so far are then dropped. Throws EPrintError
  // when no row fits the text box, before the progress window is shown.
  bool MakePages(TPrintLines lines, TMetaFileList& pages, const std::string& progressText);
  // Lays the pages out with "印刷中" and sends them through job as
  // PlanPrintJob orders them. False when cancelled (no job is begun); throws
  // EPrintError when the job cannot begin or fails (the job is ended then).
  bool Print(TPrintLines lines, IPrintJob& job);
  // Sends pages laid out before (a preview's) as Print does.
  void PrintPages(const TMetaFileList& pages, IPrintJob& job);

  // The screen's resolution over the printer's; 1 without a printer.
  double ScreenRatio();
  // round(mm x dpi / 25.4), a half to the even neighbour, at the printer's
  // horizontal resolution (the screen's without a printer).
  int64_t MmToDots(int64_t mm);
  static int64_t MmToDots(int64_t mm, int dpi);
  // The unprintable strips; all 0 without a printer.
  TPrintOffsets PrintOffsets();
  // The layout for lineCount lines; throws EPrintError when the text box
  // has no width or the body is lower than one row.
  TPrintGeometry Geometry(size_t lineCount);
  // One line cut into rows of at most widthDots in the page font, which the
  // caller has selected (Geometry does).
  std::vector<std::string_view> WrapText(std::string_view line, int64_t widthDots);

  // While and after MakePages: the number of the page and of the line last
  // laid out.
  int64_t CurrentPageNumber() const { return currentPageNumber_; }
  int64_t CurrentLineNumber() const { return currentLineNumber_; }
  // The options of PlanPrintJob from the properties.
  TPrintJobOptions JobOptions() const;

 private:
  friend class TPageLayout;
  static int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }
  int Dpi();
  TPagePicture& BeginPage(TMetaFileList& pages, const TPrintGeometry& geometry);
  void DrawBand(TPagePicture& page, TPrintTextRole role, const TPrintRect& band, TStringsPrinterHeaderAlign align,
                const std::string& text);

  IPrinterDevice& device_;
  IPrintMeasurer& measurer_;
  IKervClock& clock_;
  TStringsPrinterInfo info_;
  IStringsPrinterProgress* progress_ = nullptr;

  int copies_ = 0;
  bool collate_ = false;
  int columnCount_ = 1;
  int columnSpace_ = 4;
  std::string fileName_;
  int firstLineNumber_ = 1;
  int firstPageNumber_ = 1;
  TPrintFont font_;
  std::string footer_;
  TStringsPrinterHeaderAlign footerAlign_ = TStringsPrinterHeaderAlign::haNone;
  std::string header_;
  TStringsPrinterHeaderAlign headerAlign_ = TStringsPrinterHeaderAlign::haNone;
  int lastLine_ = 0;
  int lastPage_ = kMaxNumber;
  bool lineNumber_ = false;
  TStringsPrinterRangeOption lineRangeOption_ = TStringsPrinterRangeOption::roWhole;
  int marginBottom_ = 0;
  int marginLeft_ = 0;
  int marginRight_ = 0;
  int marginTop_ = 0;
  int marginLine_ = 0;
  TStringsPrinterPageOption pageOption_ = TStringsPrinterPageOption::poBoth;
  TStringsPrinterRangeOption rangeOption_ = TStringsPrinterRangeOption::roWhole;
  int startLine_ = 1;
  int startPage_ = 1;

  int64_t currentPageNumber_ = 0;
  int64_t currentLineNumber_ = 0;
};

}  // namespace kerv
