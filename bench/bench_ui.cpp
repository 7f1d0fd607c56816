// The editor control on screen (offscreen platform): one full screen painted
// with colouring, reserved words and a search emphasis; a 100 MB file opened
// the way the window opens it, stage by stage, until its first screen is
// painted; Page Down through a million lines; typing at the end of a 10 MB line.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "bench/BenchData.h"
#include "document/TFileManager.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/posix/IconvCodePage.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/QtClipboard.h"
#include "ui/TEditorWidget.h"

namespace kerv {
namespace {

IconvCodePage& CodePage() {
  static IconvCodePage codePage;
  return codePage;
}

// A widget of 60 rows by 200 cells.
std::unique_ptr<TEditorWidget> MakeWidget() {
  auto widget = std::make_unique<TEditorWidget>(CodePage());
  TEditor& editor = widget->Editor();
  const TEditorMetrics& m = editor.Metrics();
  widget->resize(m.textLeft + 200 * m.charWidth + m.charWidth / 2 + 2, m.textTop + 60 * m.rowHeight + 7);
  widget->show();
  QApplication::processEvents();
  return widget;
}

void Colour(TEditor& editor) {
  editor.View().SetQuotation("\"");
  editor.View().SetCommenter("//");
  editor.View().SetUrl(true);
  TEditorBracketItem& pair = editor.View().Brackets().Add();
  pair.SetLeftBracket("\x81\x75");   // 「
  pair.SetRightBracket("\x81\x76");  // 」
  editor.Leftbar().SetVisible(true);
  editor.Ruler().SetVisible(true);
  editor.Marks().RetMark().SetVisible(true);
  TEditorWordList words;
  for (const char* word : {"the", "int", "\x93\xfa\x96\x7b", "\x83\x4c", "return"}) words.push_back({word, 0x0080});
  words.push_back({"[0-9]+", 0x0004});
  editor.SetReserveWordList(words);
  editor.SetFindString("\x82\xcc", 0);  // の
}

// A coloured widget holding two screens of 200-byte Japanese lines.
std::unique_ptr<TEditorWidget> ColouredScreen() {
  auto widget = MakeWidget();
  Colour(widget->Editor());
  std::string text = bench::JapaneseText(200 * 60 * 2, 200);
  TMemoryStream stream(text);
  widget->Editor().Lines().LoadFromStream(stream);
  return widget;
}

void BM_PaintScreen(benchmark::State& state) {
  auto widget = ColouredScreen();
  TEditor& editor = widget->Editor();
  QImage image;
  for (auto _ : state) {
    image = widget->Render();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["rows"] = editor.VisibleRows();
  state.counters["cols"] = editor.VisibleCols();
}
BENCHMARK(BM_PaintScreen)->Unit(benchmark::kMillisecond);

// The same screen's paint plans alone: the core's share of painting.
void BM_PlanScreen(benchmark::State& state) {
  auto widget = ColouredScreen();
  TEditor& editor = widget->Editor();
  TEditorPaintPlanner planner(editor);
  for (auto _ : state) {
    for (int row = 0; row < editor.VisibleRows(); ++row) benchmark::DoNotOptimize(planner.PlanRow(row).cells.data());
  }
}
BENCHMARK(BM_PlanScreen)->Unit(benchmark::kMillisecond);

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// The window's path for a file named on the command line, timed stage by stage.
void BM_OpenLargeFile(benchmark::State& state) {
  const std::string path = "/tmp/kerv-bench-100mb.txt";
  {
    std::ifstream probe(path);
    if (!probe) {
      std::ofstream out(path, std::ios::binary);
      out << bench::SharedJapaneseText();
    }
  }
  bool wrap = state.range(0) != 0;
  PosixFileSystem fs;
  FakeDialogs dialogs;
  double read = 0, load = 0, wrapping = 0, paint = 0;
  for (auto _ : state) {
    auto widget = MakeWidget();
    TEditor& editor = widget->Editor();
    Colour(editor);
    if (wrap) editor.SetWordWrap(true);
    auto start = std::chrono::steady_clock::now();
    TFileManager files(fs, CodePage(), dialogs);
    std::string text;
    TReturnCode returnCode = rcCRLF;
    TCharCode code = ccAuto;
    files.LoadText(path, text, false, true, returnCode, code);
    read = Seconds(start);
    auto stage = std::chrono::steady_clock::now();
    TMemoryStream stream(text);
    editor.BeginLoading();
    editor.Lines().LoadFromStream(stream);
    load = Seconds(stage);
    stage = std::chrono::steady_clock::now();
    editor.EndLoading();  // cuts the rows (word wrap) and finds the first bracket states
    wrapping = Seconds(stage);
    stage = std::chrono::steady_clock::now();
    QImage image = widget->Render();
    benchmark::DoNotOptimize(image.constBits());
    paint = Seconds(stage);
  }
  state.counters["read_convert_s"] = read;
  state.counters["load_s"] = load;
  state.counters["wrap_s"] = wrapping;
  state.counters["paint_s"] = paint;
  state.counters["total_s"] = read + load + wrapping + paint;
}
BENCHMARK(BM_OpenLargeFile)->Arg(0)->Arg(1)->ArgName("wrap")->Unit(benchmark::kMillisecond)->Iterations(1);

// One Page Down and the screen it shows, near the top and near the end of a million lines.
void BM_PageDown(benchmark::State& state) {
  static std::unique_ptr<TEditorWidget> widget;
  if (!widget) {
    widget = MakeWidget();
    Colour(widget->Editor());
    std::string text = bench::JapaneseText(size_t(1000000) * 100);
    TMemoryStream stream(text);
    widget->Editor().Lines().LoadFromStream(stream);
  }
  TEditor& editor = widget->Editor();
  editor.SetRow(static_cast<int>(state.range(0)));
  // The first screen far down computes the bracket states of every row above
  // it once (timed apart as BM_FirstScreenAt); the steps after it are timed here.
  benchmark::DoNotOptimize(widget->Render().constBits());
  int start = editor.Row();
  for (auto _ : state) {
    editor.KeyDown(vkNext, false, false, false);
    QImage image = widget->Render();
    benchmark::DoNotOptimize(image.constBits());
    if (editor.Row() > start + 100000) editor.SetRow(start);
  }
}
BENCHMARK(BM_PageDown)->Arg(0)->Arg(900000)->ArgName("from_row")->Unit(benchmark::kMillisecond);

// One keystroke at the end of a single 10 MB line (and its Backspace).
void BM_TypeAtEndOfLongLine(benchmark::State& state) {
  auto widget = MakeWidget();
  TEditor& editor = widget->Editor();
  editor.WrapOption().SetWrapByte(100);
  editor.SetWordWrap(state.range(0) != 0);
  std::string line(size_t(10) << 20, 'a');
  for (size_t i = 0; i < line.size(); i += 50) line[i] = ' ';
  TMemoryStream stream(line);
  editor.Lines().LoadFromStream(stream);
  editor.KeyDown(vkEnd, false, true, false);
  for (auto _ : state) {
    editor.KeyPress('x');
    editor.KeyPress(0x08);
  }
  state.SetLabel("two keystrokes per iteration");
}
BENCHMARK(BM_TypeAtEndOfLongLine)->Arg(0)->Arg(1)->ArgName("wrap")->Unit(benchmark::kMillisecond);

// Select All on the 100 MB text with the selection-size notice's counts,
// and copying it all to the system clipboard (converted to UTF-16 there).
void BM_SelectAllAndCopy(benchmark::State& state) {
  static std::unique_ptr<TEditorWidget> widget;
  static QtClipboard clipboard(CodePage());
  if (!widget) {
    widget = MakeWidget();
    std::string text = bench::SharedJapaneseText();
    widget->Editor().Lines().LoadText(std::move(text));
    widget->Editor().SetClipboard(&clipboard);
  }
  TEditor& editor = widget->Editor();
  const bool copy = state.range(0) != 0;
  for (auto _ : state) {
    editor.SelectAll();
    const TEditor::TSelectionSize size = editor.SelSize();
    benchmark::DoNotOptimize(size);
    if (copy) editor.CopyToClipboard();
    state.PauseTiming();
    editor.CancelSelection();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * editor.TextLength());
}
BENCHMARK(BM_SelectAllAndCopy)->Arg(0)->Arg(1)->ArgName("copy")->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace kerv

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
