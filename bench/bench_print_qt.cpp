// Printing with Qt's fonts, as the user meets it:
// - 1 MB of generated Japanese text (about 14,000 lines) laid out on A4 at
//   the dialog's default margins, 10 points, header, footer and line
//   numbers, with the real measurer starting from an empty width cache;
// - kervtext print of that text to a PDF, timed as a whole process (start,
//   fonts, reading, layout, writing);
// - the preview of a 100 MB document: the editor's rows collected with their
//   tabs expanded, the first page laid out, and the preview window made and
//   its first page drawn; the counters give each step in milliseconds.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPageSize>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/dialogs/TFormStrPreview.h"
#include "bench/BenchData.h"
#include "bench/QuietEditorWindow.h"
#include "editor/TByteStream.h"
#include "editor/TEditor.h"
#include "platform/posix/IconvCodePage.h"
#include "platform/qt/print/QtLocalClock.h"
#include "platform/qt/print/QtPdfOutput.h"
#include "platform/qt/print/QtPrintMeasurer.h"
#include "print/PrintMessages.h"
#include "print/TPageLayout.h"
#include "print/TStringsPrinter.h"

namespace kerv::bench {
namespace {

IconvCodePage& CodePage() {
  static IconvCodePage codePage;
  return codePage;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.emplace_back(text, start, end - start);
    start = end + 2;
  }
  return lines;
}

const std::string& OneMegabyteText() {
  static const std::string text = JapaneseText(size_t{1} << 20, 72);
  return text;
}

// The dialog's defaults with both bands and line numbers.
void Configure(TStringsPrinter& printer, int columns) {
  TPrintFont font;
  font.name = Sjis("ＭＳ ゴシック");
  font.size = 10;
  printer.SetFont(font);
  printer.SetMarginTop(15);
  printer.SetMarginLeft(10);
  printer.SetMarginBottom(20);
  printer.SetMarginRight(10);
  printer.SetColumnCount(columns);
  printer.SetColumnSpace(5);
  printer.SetLineNumber(true);
  printer.SetFileName(Sjis("/home/user/文書/memo.txt"));
  printer.SetHeader("%F %y/%m/%d %t");
  printer.SetHeaderAlign(TStringsPrinterHeaderAlign::haLeft);
  printer.SetFooter("- %p -");
  printer.SetFooterAlign(TStringsPrinterHeaderAlign::haCenter);
}

void LayOut(benchmark::State& state, int columns) {
  const std::vector<std::string> lines = Lines(OneMegabyteText());
  const QPageLayout layout = PdfPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait);
  QtPdfDevice device(layout, 96);
  QtLocalClock clock;
  size_t pages = 0;
  for (auto _ : state) {
    // A cold cache each time, as the first preview of a dialog meets it.
    QtPrintMeasurer measurer(CodePage(), nullptr);
    TStringsPrinter printer(device, measurer, clock);
    Configure(printer, columns);
    TMetaFileList list;
    printer.MakePages(lines, list, PrintMessage(TPrintMessage::ProgressPreviewing));
    pages = list.Count();
    benchmark::DoNotOptimize(list);
  }
  state.counters["lines"] = static_cast<double>(lines.size());
  state.counters["pages"] = static_cast<double>(pages);
}

void BM_LayOut1MB_QtFonts(benchmark::State& state) { LayOut(state, 1); }
void BM_LayOut1MB_QtFonts_TwoColumns(benchmark::State& state) { LayOut(state, 2); }

void BM_KervTextPrint1MB(benchmark::State& state) {
  const std::string folder = "/tmp/kerv-bench-print/";
  std::system(("mkdir -p " + folder).c_str());
  { std::ofstream(folder + "memo.txt", std::ios::binary) << OneMegabyteText(); }
  {
    std::ofstream(folder + "kerv.ini", std::ios::binary)
        << "[Printer]\r\nFontSize=10\r\nHeaderAlign=1\r\nFooterAlign=2\r\nLineNum=1\r\n";
  }
  const std::string command = std::string(KERVTEXT_PATH) + " print --settings " + folder + "kerv.ini --pdf " + folder +
                              "memo.pdf " + folder + "memo.txt";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("kervtext print failed");
      break;
    }
  }
  std::ifstream pdf(folder + "memo.pdf", std::ios::binary | std::ios::ate);
  state.counters["PDF MB"] = static_cast<double>(pdf.tellg()) / 1e6;
  std::system(("rm -rf " + folder).c_str());
}

void BM_PreviewFirstPage100MB(benchmark::State& state) {
  QuietWindow window;
  TEditor editor(&window);
  {
    TMemoryStream stream(SharedJapaneseText());
    editor.Lines().LoadFromStream(stream);
  }
  const QPageLayout layout = PdfPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait);
  QtPdfDevice device(layout, 96);
  QtLocalClock clock;
  using Clock = std::chrono::steady_clock;
  auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  double collect = 0, firstPage = 0, window_ = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    // What the print dialog hands the layout: every row, tabs expanded.
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(editor.RowCount()));
    for (int row = 0; row < editor.RowCount(); ++row) lines.push_back(editor.ExpandTabs(editor.RowText(row)));
    const auto collected = Clock::now();
    QtPrintMeasurer measurer(CodePage(), nullptr);
    TStringsPrinter printer(device, measurer, clock);
    Configure(printer, 1);
    TMetaFileList pages;
    TPageLayout pageLayout(printer, lines, pages);
    pageLayout.LayOutPages(1);
    const auto laidOut = Clock::now();
    TFormStrPreview preview(pages, &pageLayout, printer.PrintOffsets(), printer.ScreenRatio(), CodePage(), nullptr);
    benchmark::DoNotOptimize(preview.PageImage());
    const auto drawn = Clock::now();
    collect = ms(collected - start);
    firstPage = ms(laidOut - collected);
    window_ = ms(drawn - laidOut);
    state.counters["rows"] = static_cast<double>(lines.size());
  }
  state.counters["collect ms"] = collect;
  state.counters["first page ms"] = firstPage;
  state.counters["window ms"] = window_;
}

BENCHMARK(BM_LayOut1MB_QtFonts)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOut1MB_QtFonts_TwoColumns)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KervTextPrint1MB)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewFirstPage100MB)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kerv::bench

int main(int argc, char** argv) {
  // Fonts and the preview window need an application; no display is needed.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
