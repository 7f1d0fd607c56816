// Formatting throughput in MB/s over the generated 100 MB Japanese text
// (about a million lines): the character conversions of a whole-document
// selection, tabs and blanks, the line commands, and sorting every line.
// "bench_format [benchmark flags] [--fresh-memory]".

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "bench/BenchData.h"
#include "bench/QuietEditorWindow.h"
#include "editor/TEditor.h"
#include "format/TNumberingOptions.h"
#include "format/TStringFormatter.h"

namespace {

using kerv::TStringFormatter;
using kerv::TZenkakuMode;

const std::string& Text() { return kerv::bench::SharedJapaneseText(); }

// The same text with its blanks made TABs and every line indented by one.
const std::string& TabText() {
  static const std::string text = TStringFormatter::Indent(TStringFormatter::SpaceToTab(Text(), 1), false);
  return text;
}

void SetRate(benchmark::State& state, size_t bytes) {
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

template <class Op>
void Run(benchmark::State& state, const std::string& input, Op op) {
  size_t outBytes = 0;
  for (auto _ : state) {
    std::string out = op(input);
    outBytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["out MB"] = static_cast<double>(outBytes) / 1e6;
  SetRate(state, input.size());
}

void BM_HanToZen(benchmark::State& state) {
  Run(state, Text(), [](const std::string& t) { return TStringFormatter::ToZenkaku(t, TZenkakuMode::Plain); });
}
void BM_ZenToHan(benchmark::State& state) {
  static const std::string full = TStringFormatter::ToZenkaku(Text(), TZenkakuMode::Plain);
  Run(state, full, [](const std::string& t) { return TStringFormatter::ToHankaku(t); });
}
void BM_HiraToKata(benchmark::State& state) {
  Run(state, Text(), [](const std::string& t) { return TStringFormatter::ToZenkaku(t, TZenkakuMode::Katakana); });
}
void BM_KataToHira(benchmark::State& state) {
  Run(state, Text(), [](const std::string& t) { return TStringFormatter::ToZenkaku(t, TZenkakuMode::Hiragana); });
}
void BM_Upper(benchmark::State& state) {
  Run(state, Text(), [](const std::string& t) { return TStringFormatter::ToUpper(t); });
}
void BM_TabToSpace(benchmark::State& state) {
  Run(state, TabText(), [](const std::string& t) { return TStringFormatter::TabToSpace(t, 4); });
}
void BM_SpaceToTab(benchmark::State& state) {
  static const std::string blanks = TStringFormatter::TabToSpace(TabText(), 4);
  Run(state, blanks, [](const std::string& t) { return TStringFormatter::SpaceToTab(t, 4); });
}
void BM_DeleteHiragana(benchmark::State& state) {
  Run(state, Text(), [](const std::string& t) { return TStringFormatter::DeleteByType(t, "", kerv::TypeFlag::Kana); });
}
void BM_Indent(benchmark::State& state) {
  Run(state, Text(), [](const std::string& t) { return TStringFormatter::Indent(t, true); });
}
void BM_Numbering(benchmark::State& state) {
  kerv::TNumberingOptions options;
  options.alignment = kerv::TNumberAlignment::ZeroFill;
  Run(state, Text(), [&](const std::string& t) { return options.Apply(t); });
}
void BM_ReturnAt(benchmark::State& state) {
  Run(state, TabText(), [](const std::string& t) { return TStringFormatter::ReturnAt(t, 4, 40); });
}
void BM_EraseTags(benchmark::State& state) {
  Run(state, Text(), [](const std::string& t) { return TStringFormatter::EraseTags(t); });
}
void BM_SortLines(benchmark::State& state) {
  state.counters["lines"] = TStringFormatter::CountLines(Text());
  Run(state, Text(), [](const std::string& t) { return TStringFormatter::SortLines(t); });
}
void BM_ReverseSortLines(benchmark::State& state) {
  Run(state, Text(), [](const std::string& t) { return TStringFormatter::ReverseSortLines(t); });
}

// ---- The commands as the window runs them: the whole 100 MB document is
// selected in the editor model, its text taken, converted and put back in
// one replacement (one undo step), and that step undone. "apply s" covers
// SelText, the conversion and ReplaceSelText (re-cutting the rows
// included); "undo s" the Undo; both in CPU seconds of the process, as the
// shared build machines are often loaded ("wall" is the elapsed time of
// the apply). MB/s is the input over "apply s".

struct EditorDoc {
  kerv::bench::QuietWindow window;
  kerv::TEditor editor{&window};
  EditorDoc() { editor.SetUndoListMax(4); }
};

EditorDoc& Doc() {
  static EditorDoc doc;
  return doc;
}

using Seconds = std::chrono::duration<double>;

double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void RunInEditor(benchmark::State& state, const std::string& input,
                 const std::function<std::string(const std::string&)>& op) {
  kerv::TEditor& editor = Doc().editor;
  double applySeconds = 0;
  double undoSeconds = 0;
  double wallSeconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    editor.WmSetText(input);
    editor.ClearUndo();
    editor.SelectAll();
    state.ResumeTiming();
    const auto wallStart = std::chrono::steady_clock::now();
    const double start = CpuSeconds();
    std::string result = op(editor.SelText());
    editor.ReplaceSelText(result);
    const double applied = CpuSeconds();
    wallSeconds += Seconds(std::chrono::steady_clock::now() - wallStart).count();
    editor.Undo();
    undoSeconds += CpuSeconds() - applied;
    applySeconds += applied - start;
    if (editor.CanUndo() || editor.TextLength() != static_cast<long long>(input.size())) {
      state.SkipWithError("the command was not one undo step");
      break;
    }
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["apply s"] = applySeconds / n;
  state.counters["undo s"] = undoSeconds / n;
  state.counters["wall s"] = wallSeconds / n;
  state.counters["MB/s"] = static_cast<double>(input.size()) / 1e6 / (applySeconds / n);
}

void BM_Editor_HanToZen(benchmark::State& state) {
  RunInEditor(state, Text(), [](const std::string& t) { return TStringFormatter::ToZenkaku(t, TZenkakuMode::Plain); });
}
void BM_Editor_ZenToHan(benchmark::State& state) {
  static const std::string full = TStringFormatter::ToZenkaku(Text(), TZenkakuMode::Plain);
  RunInEditor(state, full, [](const std::string& t) { return TStringFormatter::ToHankaku(t); });
}
void BM_Editor_HiraToKata(benchmark::State& state) {
  RunInEditor(state, Text(), [](const std::string& t) { return TStringFormatter::ToZenkaku(t, TZenkakuMode::Katakana); });
}
void BM_Editor_TabToSpace(benchmark::State& state) {
  RunInEditor(state, TabText(), [](const std::string& t) { return TStringFormatter::TabToSpace(t, 4); });
}
void BM_Editor_SortLines(benchmark::State& state) {
  state.counters["lines"] = TStringFormatter::CountLines(Text());
  RunInEditor(state, Text(), [](const std::string& t) { return TStringFormatter::SortLines(t); });
}

BENCHMARK(BM_HanToZen)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZenToHan)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HiraToKata)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KataToHira)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Upper)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TabToSpace)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpaceToTab)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteHiragana)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Indent)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Numbering)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReturnAt)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EraseTags)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortLines)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReverseSortLines)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_HanToZen)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_ZenToHan)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_HiraToKata)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_TabToSpace)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_SortLines)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Fresh memory costs the kernel's page faults, the same for any formatter
  // (and dear in a virtual machine): the heap keeps what an iteration frees,
  // so that the figures measure the formatting. --fresh-memory measures with
  // the faults, as a single command pays them.
  bool freshMemory = argc > 1 && std::strcmp(argv[argc - 1], "--fresh-memory") == 0;
  if (freshMemory) {
    --argc;
  } else {
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
