// Byte-search throughput in MB/s over the generated Japanese text: rows as
// the painter hands them to SearchBuffer, and the bulk scan kervtext grep
// does. With --write-japanese-text PATH it writes the 100 MB text instead.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "bench/BenchData.h"
#include "search/SearchBuffer.h"
#include "search/TTextSearcher.h"

namespace {


using kerv::bench::Sjis;

const std::string& Text() { return kerv::bench::SharedJapaneseText(); }

void SetRate(benchmark::State& state, size_t bytes) {
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

struct Case {
  const char* name;
  const char* utf8;
  kerv::SearchFlags flags;
};

const Case kCases[] = {
    {"japanese", "無い。記憶", 0},
    {"absent", "東京都", 0},
    {"ascii_nocase", "TEXT 2026", 0},
    {"ascii_case", "text 2026", kerv::SearchFlag::MatchCase},
    {"zenkaku", "ABC", kerv::SearchFlag::NoMatchZenkaku},
    {"whole_word", "text", kerv::SearchFlag::WholeWord},
    {"zenkaku_kana", "ガキ", kerv::SearchFlag::NoMatchZenkaku},
};

// Every occurrence, one SearchBuffer call per hit, on each row (the painter).
void BM_SearchBufferRows(benchmark::State& state) {
  const Case& c = kCases[state.range(0)];
  state.SetLabel(c.name);
  std::string pattern = Sjis(c.utf8);
  std::string_view text = Text();
  size_t rowBytes = 0;
  size_t hits = 0;
  for (auto _ : state) {
    hits = 0;
    rowBytes = 0;
    // The first 8 MB of rows: a row costs the same everywhere.
    for (size_t start = 0; start < (8u << 20);) {
      size_t end = text.find("\r\n", start);
      std::string_view row = text.substr(start, end - start);
      kerv::TSearchPosition position{0, 0};
      while (kerv::SearchBuffer(row, position, pattern, c.flags | kerv::SearchFlag::Down)) ++hits;
      rowBytes += row.size() + 2;
      start = end + 2;
    }
    benchmark::DoNotOptimize(hits);
  }
  state.counters["hits"] = static_cast<double>(hits);
  SetRate(state, rowBytes);
}
BENCHMARK(BM_SearchBufferRows)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

// Matching lines of the whole text, as kervtext grep finds them.
void BM_TextSearcherLines(benchmark::State& state) {
  const Case& c = kCases[state.range(0)];
  state.SetLabel(c.name);
  kerv::TTextSearcher searcher(Sjis(c.utf8), c.flags);
  std::string_view text = Text();
  size_t lines = 0;
  for (auto _ : state) {
    lines = 0;
    size_t from = 0;
    while (true) {
      size_t candidate = searcher.NextCandidate(text, from);
      if (candidate == std::string_view::npos) break;
      size_t lineStart = text.rfind('\n', candidate);
      lineStart = lineStart == std::string_view::npos || lineStart < from ? from : lineStart + 1;
      size_t lineEnd = text.find('\r', candidate);
      if (lineEnd == std::string_view::npos) lineEnd = text.size();
      kerv::TSearchPosition match;
      if (searcher.FindIn(text.substr(lineStart, lineEnd - lineStart), match)) ++lines;
      from = lineEnd + 2;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.counters["lines"] = static_cast<double>(lines);
  SetRate(state, text.size());
}
BENCHMARK(BM_TextSearcherLines)->DenseRange(0, 6)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--write-japanese-text") == 0) {
    FILE* out = std::fopen(argv[2], "wb");
    if (!out) {
      std::perror(argv[2]);
      return 1;
    }
    const std::string& text = Text();
    bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    ok = std::fclose(out) == 0 && ok;
    return ok ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
