// The editor control's document search in chunks of rows, the copy of a big
// selection to the clipboard's data, the paste of a big text, and the paste
// of a box of 1000 rows.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/BenchData.h"
#include "bench/QuietEditorWindow.h"
#include "editor/TEditor.h"
#include "platform/fake/FakeClipboard.h"
#include "platform/posix/IconvCodePage.h"
#include "search/SearchFlags.h"

namespace kerv {
namespace {

using bench::QuietWindow;

IconvCodePage& CodePage() {
  static IconvCodePage codePage;
  return codePage;
}

struct Doc {
  QuietWindow window;
  TEditor editor{&window};
  // The clipboard converts to UTF-8 as the system clipboard's data does.
  FakeClipboard clipboard{&CodePage()};
  explicit Doc(const std::string& text) {
    editor.SetClipboard(&clipboard);
    TMemoryStream stream(text);
    editor.Lines().LoadFromStream(stream);
  }
};

// The shared 100 MB Japanese text, loaded once.
Doc& BigDoc() {
  static Doc doc(bench::SharedJapaneseText());
  return doc;
}

// A word the text does not hold: every chunk is read to its end. A Japanese
// word, or an ASCII word whose case is ignored (a weaker filter).
void BM_SearchAbsent(benchmark::State& state) {
  Doc& doc = BigDoc();
  TEditor& editor = doc.editor;
  bool down = state.range(0) != 0;
  const std::string absent = state.range(1) == 0 ? bench::Sjis("存在しない語") : std::string("Absent");
  for (auto _ : state) {
    editor.CancelSelection();
    if (down) {
      editor.SetRow(0);
      editor.SetCol(0);
    } else {
      editor.SetRow(editor.RowCount());
      editor.SetCol(0);
    }
    bool found = editor.SearchText(absent, down ? SearchFlag::Down : 0);
    if (found) state.SkipWithError("the word was found");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(bench::SharedJapaneseText().size()));
}
BENCHMARK(BM_SearchAbsent)
    ->ArgsProduct({{1, 0}, {0, 1}})
    ->ArgNames({"down", "ascii"})
    ->Unit(benchmark::kMillisecond);

// Copy of the whole 100 MB document: the selected text alone, and converted
// to UTF-8 as the clipboard's data.
void BM_CopyHundredMegabytes(benchmark::State& state) {
  Doc& doc = BigDoc();
  FakeClipboard plain;
  bool convert = state.range(0) != 0;
  if (!convert) doc.editor.SetClipboard(&plain);
  doc.editor.SelectAll();
  for (auto _ : state) {
    doc.editor.CopyToClipboard();
    benchmark::DoNotOptimize((convert ? doc.clipboard : plain).ForeignText().size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(bench::SharedJapaneseText().size()));
  doc.editor.CancelSelection();
  doc.editor.SetClipboard(&doc.clipboard);
}
BENCHMARK(BM_CopyHundredMegabytes)->Arg(0)->Arg(1)->ArgName("utf8")->Unit(benchmark::kMillisecond)->Iterations(3);

// Paste of 10 MB of UTF-8 text from another program into a small document.
void BM_PasteTenMegabytes(benchmark::State& state) {
  const std::string utf8 = CodePage().Cp932ToUtf8(bench::JapaneseText(size_t{10} << 20));
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = std::make_unique<Doc>(bench::JapaneseText(2000));
    doc->clipboard.SetForeignText(utf8);
    doc->editor.SetRow(10);
    state.ResumeTiming();
    size_t replaced = doc->editor.PasteFromClipboard();
    state.PauseTiming();
    if (replaced != 0) state.SkipWithError("characters were replaced");
    doc.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(utf8.size()));
}
BENCHMARK(BM_PasteTenMegabytes)->Unit(benchmark::kMillisecond)->Iterations(3);

// A box of 1000 rows by 12 columns pasted into a 100k-line document, and
// taken back by one undo.
void BM_BoxPasteThousandRows(benchmark::State& state) {
  static Doc doc(bench::JapaneseText(size_t{100000} * 100));
  TEditor& editor = doc.editor;
  std::string box;
  for (int i = 0; i < 1000; ++i) box += bench::Sjis("貼り付け") + std::to_string(1000 + i) + "\r\n";
  const std::string before = editor.RowStore().GetRangeText(50000, 1001);
  for (auto _ : state) {
    editor.SetRow(50000);
    editor.SetCol(10);
    editor.PasteBoxText(box);
    state.PauseTiming();
    editor.Undo();
    if (editor.RowStore().GetRangeText(50000, 1001) != before) state.SkipWithError("one undo did not restore the rows");
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BoxPasteThousandRows)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kerv

BENCHMARK_MAIN();
