// The editor control on screen (offscreen platform): one full screen painted
// with colouring, reserved words and a search emphasis; a 100 MB file opened
// the way the window opens it, stage by stage, until its first screen is
// painted; Page Down through a million lines; Ctrl+End on a million lines
// before and after the idle computation of their bracket states; typing at
// the end of a 10 MB line.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

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

// Widgets that benchmarks keep from run to run (a document loaded once),
// freed before the application ends: a widget must not outlive it.
std::map<std::string, std::unique_ptr<TEditorWidget>>& KeptWidgets() {
  static std::map<std::string, std::unique_ptr<TEditorWidget>> widgets;
  return widgets;
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
  double read = 0, load = 0, wrapping = 0, paint = 0, rest = 0, slowestSlice = 0;
  int rows = 0;
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
    // What waits for idle time after the first screen (the rest of a wrap
    // in steps, the bracket states), and the longest a key waits for a slice.
    rest = 0;
    slowestSlice = 0;
    for (bool more = true; more;) {
      stage = std::chrono::steady_clock::now();
      more = widget->FillIdleSlice();
      const double slice = Seconds(stage);
      rest += slice;
      slowestSlice = std::max(slowestSlice, slice);
    }
    rows = editor.RowCount();
  }
  state.counters["read_convert_s"] = read;
  state.counters["load_s"] = load;
  state.counters["wrap_s"] = wrapping;
  state.counters["paint_s"] = paint;
  state.counters["first_screen_s"] = read + load + wrapping + paint;
  state.counters["idle_fill_s"] = rest;
  state.counters["slowest_slice_ms"] = slowestSlice * 1000;
  state.counters["rows"] = rows;
}
BENCHMARK(BM_OpenLargeFile)->Arg(0)->Arg(1)->ArgName("wrap")->Unit(benchmark::kMillisecond)->Iterations(1);

// One Page Down and the screen it shows, near the top and near the end of a million lines.
void BM_PageDown(benchmark::State& state) {
  std::unique_ptr<TEditorWidget>& widget = KeptWidgets()["page-down"];
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
  // it once (timed apart as BM_JumpToEnd); the steps after it are timed here.
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

// A million lines of C: the generated source with a block comment over
// three rows before every 200th line, so that states other than "none" occur.
const std::string& MillionLinesOfC() {
  static const std::string text = [] {
    std::string source = bench::SourceCode(size_t(74) << 20);
    std::string out;
    out.reserve(source.size() + source.size() / 64);
    size_t line = 0;
    for (size_t start = 0; start < source.size() && line < 1000000;) {
      size_t end = source.find('\n', start) + 1;
      if (line % 200 == 0 && line + 3 < 1000000) {
        out += "/*\r\n * Block comment\r\n */\r\n";
        line += 3;
      }
      out.append(source, start, end - start);
      ++line;
      start = end;
    }
    return out;
  }();
  return text;
}

// The rules of the edit mode for C sources, with its one bracket pair.
void ColourAsC(TEditor& editor) {
  editor.View().SetQuotation("\"");
  editor.View().SetCommenter("//");
  editor.View().SetHexPrefix("0x");
  editor.View().SetUrl(true);
  editor.View().SetMail(true);
  TEditorBracketItem& pair = editor.View().Brackets().Add();
  pair.SetLeftBracket("/*");
  pair.SetRightBracket("*/");
  editor.Leftbar().SetVisible(true);
  editor.Ruler().SetVisible(true);
}

// Ctrl+End on a million lines and the screen it shows: right after the load
// (the bracket states of every row above are found then), and after the
// window's idle slices found them (timed here slice by slice). The text is
// C (text:0), the Japanese prose of BM_PageDown with its 「」 pair (text:1),
// or C with a pair only the parser can follow (text:2, no right bracket:
// every row is parsed, as for options the bracket search cannot stand in for).
void BM_JumpToEnd(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  const bool filled = state.range(1) != 0;
  std::unique_ptr<TEditorWidget>& widget = KeptWidgets()["jump-" + std::to_string(kind)];
  if (!widget) {
    widget = MakeWidget();
    if (kind == 1) {
      Colour(widget->Editor());
      std::string text = bench::JapaneseText(size_t(1000000) * 100);
      TMemoryStream stream(text);
      widget->Editor().Lines().LoadFromStream(stream);
    } else {
      ColourAsC(widget->Editor());
      if (kind == 2) widget->Editor().View().Brackets().Add().SetLeftBracket("#");
      TMemoryStream stream(MillionLinesOfC());
      widget->Editor().Lines().LoadFromStream(stream);
    }
  }
  TEditor& editor = widget->Editor();
  TEditorScreenStrings& store = editor.RowStore();
  double fill = 0;
  double slowestSlice = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // The caret only draws the view along while the control has the focus.
    widget->activateWindow();
    widget->setFocus();
    QApplication::processEvents();
    editor.KeyDown(vkHome, false, true, false);
    store.InitBrackets();  // as after a load
    benchmark::DoNotOptimize(widget->Render().constBits());
    if (filled) {
      fill = 0;
      slowestSlice = 0;
      for (bool more = true; more;) {
        auto start = std::chrono::steady_clock::now();
        more = widget->FillIdleSlice();
        double slice = Seconds(start);
        fill += slice;
        slowestSlice = std::max(slowestSlice, slice);
      }
    }
    state.ResumeTiming();
    editor.KeyDown(vkEnd, false, true, false);
    QImage image = widget->Render();
    benchmark::DoNotOptimize(image.constBits());
    if (editor.TopRow() + editor.VisibleRows() < editor.RowCount()) {
      state.SkipWithError("Ctrl+End did not show the end");
      break;
    }
  }
  state.counters["rows"] = editor.RowCount();
  if (filled) {
    state.counters["fill_ms"] = fill * 1000;
    state.counters["slowest_slice_ms"] = slowestSlice * 1000;
  }
}
BENCHMARK(BM_JumpToEnd)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->ArgNames({"text", "filled"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

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
  kerv::KeptWidgets().clear();
  return 0;
}
