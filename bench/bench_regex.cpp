// Regex throughput in MB/s over the generated Japanese text, line by line,
// as kervtext grep (HasMatch) and the painter (Match) use the engine.

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "bench/BenchData.h"
#include "regex/TRegularExpression.h"

namespace {


using kerv::bench::Sjis;

const std::string& Text() { return kerv::bench::SharedJapaneseText(); }

// The lines of the text without their CR LF.
const std::vector<std::string_view>& Lines() {
  static const std::vector<std::string_view> lines = [] {
    std::vector<std::string_view> result;
    std::string_view text = Text();
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find("\r\n", start);
      if (end == std::string_view::npos) end = text.size();
      result.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    return result;
  }();
  return lines;
}

struct Pattern {
  const char* name;
  const char* utf8;
  bool fuzzy;
};

const Pattern kPatterns[] = {
    {"literal", "無い。記憶", false},
    {"class_repeat", "[ァ-ヶ]+ト", false},
    {"alternation5", "東京|大阪|名古屋|札幌|福岡", false},
    {"fuzzy_kana", "かたかな", true},
    {"anchored", "^吾輩.*ある。$", false},
    {"dot_star", "猫.*括弧", false},
};

void SetRate(benchmark::State& state, size_t bytes) {
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_HasMatchLines(benchmark::State& state) {
  const Pattern& pattern = kPatterns[state.range(0)];
  state.SetLabel(pattern.name);
  kerv::TAWKStr re;
  re.SetUseFuzzyCharDic(pattern.fuzzy);
  re.SetRegExp(Sjis(pattern.utf8));
  size_t matching = 0;
  Lines();  // generated before the clock runs
  for (auto _ : state) {
    matching = 0;
    for (std::string_view line : Lines()) matching += re.HasMatch(line);
    benchmark::DoNotOptimize(matching);
  }
  state.counters["lines"] = static_cast<double>(matching);
  SetRate(state, Text().size());
}
BENCHMARK(BM_HasMatchLines)->DenseRange(0, 5)->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_MatchLines(benchmark::State& state) {
  const Pattern& pattern = kPatterns[state.range(0)];
  state.SetLabel(pattern.name);
  kerv::TAWKStr re;
  re.SetUseFuzzyCharDic(pattern.fuzzy);
  re.SetRegExp(Sjis(pattern.utf8));
  Lines();
  for (auto _ : state) {
    int start = 0, length = 0;
    size_t total = 0;
    for (std::string_view line : Lines()) total += static_cast<size_t>(re.Match(line, start, length));
    benchmark::DoNotOptimize(total);
  }
  SetRate(state, Text().size());
}
BENCHMARK(BM_MatchLines)->DenseRange(0, 5)->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_Compile(benchmark::State& state) {
  const Pattern& pattern = kPatterns[state.range(0)];
  state.SetLabel(pattern.name);
  std::string sjis = Sjis(pattern.utf8);
  for (auto _ : state) {
    kerv::TAWKStr re;  // a fresh component: no cache hit
    re.SetUseFuzzyCharDic(pattern.fuzzy);
    re.SetRegExp(sjis);
    benchmark::DoNotOptimize(re.CacheCount());
  }
}
BENCHMARK(BM_Compile)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

// The pattern whose complete automaton has 2^26 states: the longest match
// from the start runs over 4 MB of a and b, meeting a new state at almost
// every character; the cache stays within its budget.
void BM_ExplodingPattern(benchmark::State& state) {
  std::string text;
  uint32_t seed = 1;
  for (int i = 0; i < (4 << 20); ++i) {
    seed = seed * 1103515245u + 12345u;
    text += ((seed >> 16) & 1) ? 'a' : 'b';
  }
  kerv::TAWKStr re;
  re.SetRegExp(".*a" + std::string(25, '.'));
  for (auto _ : state) {
    int start = 0, length = 0;
    benchmark::DoNotOptimize(re.Match(text, start, length));
  }
  const kerv::TRE_DFAStateCache& states = re.CurrentDFA().AnchoredStates();
  state.counters["peak_KB"] = static_cast<double>(states.PeakMemoryUsed()) / 1024.0;
  state.counters["budget_KB"] = static_cast<double>(states.MemoryBudget()) / 1024.0;
  state.counters["flushes"] = static_cast<double>(states.FlushCount());
  SetRate(state, text.size());
}
BENCHMARK(BM_ExplodingPattern)->Iterations(1)->Unit(benchmark::kMillisecond);

// Runs from every start position reach the end of a 1 MB line: the matcher
// stops a run where an earlier failed run was in the same state, so this
// stays linear instead of taking about 5 * 10^11 steps.
void BM_MatchLongRuns(benchmark::State& state) {
  const char* patterns[] = {".*c", "a*b|c", "(a|b)*bc"};
  const char* pattern = patterns[state.range(0)];
  state.SetLabel(pattern);
  std::string text = std::string(1u << 20, 'a') + "c";
  kerv::TAWKStr re;
  re.SetRegExp(pattern);
  for (auto _ : state) {
    int start = 0, length = 0;
    benchmark::DoNotOptimize(re.Match(text, start, length));
  }
  SetRate(state, text.size());
}
BENCHMARK(BM_MatchLongRuns)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
