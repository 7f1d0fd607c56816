// Formatting throughput in MB/s over the generated 100 MB Japanese text
// (about a million lines): the character conversions of a whole-document
// selection, tabs and blanks, the line commands, and sorting every line.
// "bench_format [benchmark flags] [--fresh-memory]".

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstring>
#include <string>
#include <string_view>

#include "bench/BenchData.h"
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
