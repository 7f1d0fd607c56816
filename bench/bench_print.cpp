// Printing layout: 1 MB of generated Japanese text (about 14,000 lines) laid
// out into recorded pages on an A4 printer at 600 dpi with a fixed-width
// font of 10 points, the dialog's default margins, header and footer, with
// and without line numbers and in two columns; and 10 MB to show how it
// scales. The counters give the pages, the rows and the measurements per line.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/BenchData.h"
#include "print/PrintMessages.h"
#include "print/TStringsPrinter.h"
#include "print/fake/FakePrinterDevice.h"
#include "print/fake/FixedWidthMeasurer.h"

namespace kerv::bench {
namespace {

class FixedClock : public IKervClock {
 public:
  TKervLocalTime Now() override { return {2024, 3, 5, 9, 7, 3, 0}; }
};

// Lines as the print dialog collects them: no line breaks.
std::vector<std::string> Lines(size_t totalBytes) {
  const std::string text = JapaneseText(totalBytes, 72);
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.emplace_back(text, start, end - start);
    start = end + 2;
  }
  return lines;
}

const std::vector<std::string>& OneMegabyte() {
  static const std::vector<std::string> lines = Lines(size_t{1} << 20);
  return lines;
}

const std::vector<std::string>& TenMegabytes() {
  static const std::vector<std::string> lines = Lines(size_t{10} << 20);
  return lines;
}

void LayOut(benchmark::State& state, const std::vector<std::string>& lines, int columns, bool lineNumbers) {
  FakePrinterDevice device;
  device.dpi = 600;
  device.pageWidth = 4760;  // A4 with 4 mm strips
  device.pageHeight = 6826;
  FixedWidthMeasurer measurer;
  FixedClock clock;
  TStringsPrinter printer(device, measurer, clock);
  TPrintFont font;
  font.size = 10;
  printer.SetFont(font);
  // 10 points at 600 dpi: 83 dots high, half as wide per byte.
  measurer.charWidth = 41;
  measurer.lineHeight = 96;
  printer.SetMarginTop(15);
  printer.SetMarginLeft(10);
  printer.SetMarginBottom(20);
  printer.SetMarginRight(10);
  printer.SetColumnCount(columns);
  printer.SetColumnSpace(5);
  printer.SetLineNumber(lineNumbers);
  printer.SetFileName(Sjis("/home/user/文書/memo.txt"));
  printer.SetHeader("%F %y/%m/%d %t");
  printer.SetHeaderAlign(TStringsPrinterHeaderAlign::haLeft);
  printer.SetFooter("- %p -");
  printer.SetFooterAlign(TStringsPrinterHeaderAlign::haCenter);

  size_t pages = 0;
  size_t rows = 0;
  int64_t calls = 0;
  size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size();
  for (auto _ : state) {
    TMetaFileList list;
    measurer.widthCalls = 0;
    printer.MakePages(lines, list, PrintMessage(TPrintMessage::ProgressPreviewing));
    pages = list.Count();
    rows = 0;
    for (size_t i = 0; i < list.Count(); ++i) {
      for (const TPrintTextOp& op : list.Items(i).Ops()) rows += op.role == TPrintTextRole::Body;
    }
    calls = measurer.widthCalls;
    benchmark::DoNotOptimize(list);
  }
  state.counters["lines"] = static_cast<double>(lines.size());
  state.counters["pages"] = static_cast<double>(pages);
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["widths/line"] = static_cast<double>(calls) / static_cast<double>(lines.size());
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_LayOut1MB(benchmark::State& state) { LayOut(state, OneMegabyte(), 1, false); }
void BM_LayOut1MB_LineNumbers(benchmark::State& state) { LayOut(state, OneMegabyte(), 1, true); }
void BM_LayOut1MB_TwoColumns(benchmark::State& state) { LayOut(state, OneMegabyte(), 2, true); }
void BM_LayOut10MB_TwoColumns(benchmark::State& state) { LayOut(state, TenMegabytes(), 2, true); }

BENCHMARK(BM_LayOut1MB)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOut1MB_LineNumbers)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOut1MB_TwoColumns)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOut10MB_TwoColumns)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kerv::bench

BENCHMARK_MAIN();
