// The editor control's model on big documents: each keystroke goes through
// TEditor (caret placement, scrolling and events included), so the cost of
// a keystroke must not grow with the document.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/BenchData.h"
#include "bench/QuietEditorWindow.h"
#include "editor/TEditor.h"

namespace kerv {
namespace {

using bench::QuietWindow;

// n lines of about 100 bytes of Japanese prose, word wrap on (at 60) or off.
struct Doc {
  QuietWindow window;
  TEditor editor{&window};
  Doc(int lineCount, bool wrap) {
    editor.SetUndoListMax(64);
    editor.WrapOption().SetWrapByte(60);
    editor.SetWordWrap(wrap);
    std::string text = bench::JapaneseText(static_cast<size_t>(lineCount) * 100);
    TMemoryStream stream(text);
    editor.Lines().LoadFromStream(stream);
  }
  void CaretToMiddle() {
    editor.SetRow(editor.RowCount() / 2);
    editor.SetCol(4);
  }
};

std::unique_ptr<Doc>& Cached(int lines, bool wrap) {
  // Documents are made once per size: making the big one takes longer than every benchmark on it.
  static std::unique_ptr<Doc> docs[3][2];
  int size = lines == 10000 ? 0 : lines == 100000 ? 1 : 2;
  std::unique_ptr<Doc>& doc = docs[size][wrap ? 1 : 0];
  if (!doc) doc = std::make_unique<Doc>(lines, wrap);
  return doc;
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})->ArgNames({"lines", "wrap"})->Unit(benchmark::kMicrosecond);
}

// One iteration is two keystrokes: the key and the Backspace that takes it back.
void TypeAndTakeBack(benchmark::State& state, unsigned char key) {
  Doc& doc = *Cached(static_cast<int>(state.range(0)), state.range(1) != 0);
  doc.CaretToMiddle();
  doc.editor.Caret().SetAutoIndent(false);
  for (auto _ : state) {
    doc.editor.KeyPress(key);
    doc.editor.KeyPress(0x08);
  }
  state.SetLabel("two keystrokes per iteration");
}

void BM_TypeCharacter(benchmark::State& state) { TypeAndTakeBack(state, 'x'); }
BENCHMARK(BM_TypeCharacter)->Apply(Sizes);

void BM_TypeReturn(benchmark::State& state) { TypeAndTakeBack(state, '\r'); }
BENCHMARK(BM_TypeReturn)->Apply(Sizes);

void BM_CtrlEndCtrlHome(benchmark::State& state) {
  Doc& doc = *Cached(static_cast<int>(state.range(0)), state.range(1) != 0);
  for (auto _ : state) {
    doc.editor.KeyDown(vkEnd, false, true, false);
    doc.editor.KeyDown(vkHome, false, true, false);
  }
}
BENCHMARK(BM_CtrlEndCtrlHome)->Apply(Sizes);

void BM_HundredPageDowns(benchmark::State& state) {
  Doc& doc = *Cached(static_cast<int>(state.range(0)), state.range(1) != 0);
  for (auto _ : state) {
    doc.editor.KeyDown(vkHome, false, true, false);
    for (int i = 0; i < 100; ++i) doc.editor.KeyDown(vkNext, false, false, false);
  }
}
BENCHMARK(BM_HundredPageDowns)->Apply(Sizes);

// Select all, delete and undo on the 100 MB document, each timed alone.
void BM_WholeDocument(benchmark::State& state) {
  int step = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = std::make_unique<Doc>(1000000, state.range(1) != 0);
    if (step >= 1) doc->editor.SelectAll();
    if (step >= 2) doc->editor.DeleteSelection();
    state.ResumeTiming();
    switch (step) {
      case 0:
        doc->editor.SelectAll();
        break;
      case 1:
        doc->editor.DeleteSelection();
        break;
      default:
        doc->editor.Undo();
        break;
    }
    state.PauseTiming();
    benchmark::DoNotOptimize(doc->editor.RowCount());
    doc.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_WholeDocument)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->ArgNames({"selectall_delete_undo", "wrap"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// A box of 1000 rows by 40 columns in a 100k-line document.
void BM_Box(benchmark::State& state) {
  int step = static_cast<int>(state.range(0));
  Doc& doc = *Cached(100000, false);
  TEditor& editor = doc.editor;
  auto select = [&] {
    editor.CancelSelection();
    editor.SetSelectionMode(smBox);
    editor.MoveCaretTo(50000, 10);
    editor.StartSelection();
    editor.MoveCaretTo(50999, 50);
    editor.ExtendSelection();
  };
  for (auto _ : state) {
    if (step == 0) {
      select();
      benchmark::DoNotOptimize(editor.SelText().size());
    } else if (step == 1) {
      state.PauseTiming();
      select();
      state.ResumeTiming();
      editor.DeleteSelection();
      state.PauseTiming();
      editor.Undo();
      state.ResumeTiming();
    } else {
      state.PauseTiming();
      select();
      editor.DeleteSelection();
      state.ResumeTiming();
      editor.Undo();
    }
  }
}
BENCHMARK(BM_Box)->Arg(0)->Arg(1)->Arg(2)->ArgName("select_delete_undo")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kerv

BENCHMARK_MAIN();
