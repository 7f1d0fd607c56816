// The text engine on big documents: loading, assembly, cutting, editing in
// the middle, line lookup, whole-store wrapping and undo of a change that
// touches every line.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>

#include "bench/BenchData.h"
#include "editor/TEditorLineCutter.h"
#include "editor/TEditorScreenStrings.h"
#include "editor/TEditorStrings.h"
#include "editor/TEditorViewInfo.h"

namespace kerv {
namespace {

constexpr size_t kDocumentBytes = 100u << 20;  // 100 MB of 100-byte lines: about a million lines

const std::string& Document() {
  static const std::string text = bench::JapaneseText(kDocumentBytes);
  return text;
}

size_t HeapInUse() {
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// A view with nothing to draw, as the store needs one for its editor services.
class QuietView : public TEditorView, public TEditorLinesOwner {
 public:
  explicit QuietView(TEditorScreenStrings& store) : store_(store) { store_.RegisterView(this); }
  ~QuietView() override { store_.UnregisterView(this); }
  const TEditorColumnRules& ColumnRules() const override { return rules_; }
  TEditorParserFactory ParserClass() const override { return &TEditorParser::Create; }
  const TEditorViewInfo* ViewInfo() const override { return &viewInfo_; }
  int ScreenRows() const override { return 40; }
  int TopRow() const override { return 0; }
  bool Focused() const override { return true; }
  int CaretRow() const override { return row_; }
  int CaretCol() const override { return col_; }
  void RowsChanged() override {}
  void CleanSelection() override {}
  void SetCaretRow(int row) override { row_ = row; }
  void SetCaretCol(int col) override { col_ = col; }
  void SetCaretByOffset(int row, int byteOffset) override {
    row_ = row;
    col_ = byteOffset;
  }
  void RepaintRow(int) override {}
  void SetTopRow(int) override {}
  void ClampToStore() override {}
  void Refresh() override {}
  void HideCaret() override {}
  void ShowCaret() override {}
  void HideUnderline() override {}
  void ShowUnderline() override {}
  void SetLinesUpdating(bool) override {}
  TEditorScreenStrings& RowStore() override { return store_; }
  TEditorView& View() override { return *this; }

 private:
  TEditorScreenStrings& store_;
  TEditorColumnRules rules_;
  TEditorViewInfo viewInfo_;
  int row_ = 0;
  int col_ = 0;
};

void BM_Load(benchmark::State& state) {
  const std::string& text = Document();
  size_t memory = 0;
  int rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto list = std::make_unique<TEditorStringList>();
    size_t before = HeapInUse();
    state.ResumeTiming();
    TMemoryStream stream(text);
    list->LoadFromStream(stream);
    state.PauseTiming();
    memory = HeapInUse() - before;
    rows = list->Count();
    list.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["rows"] = rows;
  state.counters["store_bytes_per_row"] = static_cast<double>(memory) / rows;
  state.counters["text_bytes_per_row"] = static_cast<double>(text.size()) / rows;
  // Below 1 means within the limit of twice the text plus 16 bytes a row.
  state.counters["memory_vs_limit"] = static_cast<double>(memory) / (2.0 * static_cast<double>(text.size()) + 16.0 * rows);
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GetText(benchmark::State& state) {
  TEditorStringList list;
  TMemoryStream stream(Document());
  list.LoadFromStream(stream);
  for (auto _ : state) benchmark::DoNotOptimize(list.GetText());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Document().size()));
}
BENCHMARK(BM_GetText)->Unit(benchmark::kMillisecond)->Iterations(3);

TEditorWrapOption& AllRules(TEditorWrapOption& options) {
  options.SetWrapByte(80);
  options.SetLeading(true);
  options.SetFollowPunctuation(true);
  options.SetWordBreak(true);
  options.SetFollowRetMark(true);
  return options;
}

void BM_CutJapanese(benchmark::State& state) {
  // Lines of 200 bytes: every line is cut at width 80.
  static const std::string text = bench::JapaneseText(20u << 20, 200);
  TEditorWrapOption options;
  TEditorColumnRules rules;
  TEditorLineCutter cutter(AllRules(options), rules);
  TEditorStringList rows;
  for (auto _ : state) cutter.StrToWrapList(text, rows, true);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["rows"] = rows.Count();
}
BENCHMARK(BM_CutJapanese)->Unit(benchmark::kMillisecond);

void BM_CutOneLongLine(benchmark::State& state) {
  // One line without a break: time per byte must not grow with its length.
  const size_t bytes = static_cast<size_t>(state.range(0)) << 20;
  std::string line = bench::JapaneseText(bytes, bytes + 1);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  TEditorWrapOption options;
  TEditorColumnRules rules;
  TEditorLineCutter cutter(AllRules(options), rules);
  TEditorStringList rows;
  for (auto _ : state) cutter.StrToWrapList(line, rows, true);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_CutOneLongLine)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// A store of n lines (about 100 bytes each) with word wrap on or off.
struct Document_ {
  TEditorScreenStrings store;
  QuietView view{store};
  TEditorStrings lines{view};
  Document_(int lineCount, bool wrap) {
    store.UndoObj().SetUndoListMax(64);
    store.WrapOption().SetWrapByte(60);
    store.SetWordWrap(wrap);
    std::string text = bench::JapaneseText(static_cast<size_t>(lineCount) * 100);
    TMemoryStream stream(text);
    lines.LoadFromStream(stream);
  }
};

void BM_InsertCharInTheMiddle(benchmark::State& state) {
  Document_ doc(static_cast<int>(state.range(0)), state.range(1) != 0);
  int row = doc.store.FirstRowOfLine(doc.store.Count() / 2);
  std::string line = doc.store.GetRowRangeText(row, -1).text;
  bool odd = false;
  for (auto _ : state) {
    // Typing one character at the start of a line in the middle, then taking it away.
    int rows = doc.store.LastRowOfLine(row) - row + 1;
    doc.store.ReplaceRows(row, rows, odd ? line : "x" + line);
    odd = !odd;
  }
  state.counters["lines"] = static_cast<double>(doc.store.LineCount());
}
BENCHMARK(BM_InsertCharInTheMiddle)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})
    ->ArgNames({"lines", "wrap"})
    ->Unit(benchmark::kMicrosecond);

void BM_InsertLineBreakInTheMiddle(benchmark::State& state) {
  // The row count changes with every edit: rows after the edit move.
  Document_ doc(static_cast<int>(state.range(0)), state.range(1) != 0);
  int row = doc.store.Count() / 2;
  for (auto _ : state) doc.lines.Insert(doc.store.RowToLine(row), "new line");
  state.counters["lines"] = static_cast<double>(doc.store.LineCount());
}
BENCHMARK(BM_InsertLineBreakInTheMiddle)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})
    ->ArgNames({"lines", "wrap"})
    ->Unit(benchmark::kMicrosecond);

void BM_LineToRowWrapped(benchmark::State& state) {
  Document_ doc(static_cast<int>(state.range(0)), true);
  int lines = doc.store.LineCount();
  int line = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(doc.store.LineToRow(line));
    benchmark::DoNotOptimize(doc.lines.GetCount());
    line = (line + 7919) % lines;
  }
}
BENCHMARK(BM_LineToRowWrapped)->Arg(10000)->Arg(1000000)->ArgName("lines");

void BM_WrapWholeStore(benchmark::State& state) {
  TEditorScreenStrings store;
  QuietView view(store);
  TEditorStrings lines(view);
  TMemoryStream stream(Document());
  lines.LoadFromStream(stream);
  store.WrapOption().SetWrapByte(80);
  for (auto _ : state) {
    store.SetWordWrap(true);
    state.PauseTiming();
    store.SetWordWrap(false);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Document().size()));
}
BENCHMARK(BM_WrapWholeStore)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_UndoChangeOfEveryLine(benchmark::State& state) {
  // One change that replaces every line, as replacing all would, then its undo.
  TEditorScreenStrings store;
  QuietView view(store);
  TEditorStrings lines(view);
  store.WrapOption().SetWrapByte(80);
  store.SetWordWrap(state.range(0) != 0);
  const std::string& text = Document();
  std::string changed = text;
  for (char& c : changed) {
    if (c == 't') c = 'T';
  }
  for (auto _ : state) {
    state.PauseTiming();
    TMemoryStream stream(text);
    lines.LoadFromStream(stream);
    store.ReplaceRows(0, store.Count(), changed);
    state.ResumeTiming();
    store.Undo();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_UndoChangeOfEveryLine)->Arg(0)->Arg(1)->ArgName("wrap")->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace kerv

BENCHMARK_MAIN();
