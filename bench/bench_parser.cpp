// Scanning speed of the attribute parser, row by row with the bracket state
// carried on, as the row store and the painter run it. Figures are bytes of
// row text per second (line breaks not counted).

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bench/BenchData.h"
#include "editor/TEditorParser.h"
#include "editor/TEditorViewInfo.h"
#include "editor/TKervEditorParser.h"

namespace {

using namespace kerv;

constexpr size_t kTextBytes = 4 * 1024 * 1024;

std::vector<std::string_view> SplitRows(const std::string& text) {
  std::vector<std::string_view> rows;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    rows.emplace_back(text.data() + start, end - start);
    start = end + 2;
  }
  return rows;
}

std::unique_ptr<TEditorViewInfo> SourceOptions(bool links) {
  auto view = std::make_unique<TEditorViewInfo>();
  view->SetCommenter("//");
  view->SetQuotation("\"");
  view->SetHexPrefix("0x");
  view->SetMail(links);
  view->SetUrl(links);
  TEditorBracketItem& block = view->Brackets().Add();
  block.SetLeftBracket("/*");
  block.SetRightBracket("*/");
  return view;
}

std::unique_ptr<TEditorViewInfo> ProseOptions() {
  auto view = std::make_unique<TEditorViewInfo>();
  view->SetMail(true);
  view->SetUrl(true);
  TEditorBracketItem& quote = view->Brackets().Add();
  quote.SetLeftBracket("\x81\x75");   // 「
  quote.SetRightBracket("\x81\x76");  // 」
  return view;
}

void ScanRows(benchmark::State& state, const std::string& text, const TEditorViewInfo* view,
              TEditorParserFactory factory) {
  const std::vector<std::string_view> rows = SplitRows(text);
  size_t rowBytes = 0;
  for (std::string_view row : rows) rowBytes += row.size();
  size_t tokens = 0;
  for (auto _ : state) {
    int bracketState = -1;
    for (std::string_view row : rows) {
      std::unique_ptr<TEditorParser> parser = factory(row.data(), row.size(), bracketState, view);
      while (parser->Token() != tkEnd) {
        ++tokens;
        parser->NextToken();
      }
      bracketState = parser->BracketState();
    }
    benchmark::DoNotOptimize(bracketState);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rowBytes));
  state.counters["tokens/s"] = benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
}

void BM_SourceCode(benchmark::State& state) {
  static const std::string text = bench::SourceCode(kTextBytes);
  auto view = SourceOptions(false);
  ScanRows(state, text, view.get(), &TEditorParser::Create);
}
BENCHMARK(BM_SourceCode)->Unit(benchmark::kMillisecond);

void BM_SourceCodeWithLinks(benchmark::State& state) {
  static const std::string text = bench::SourceCode(kTextBytes);
  auto view = SourceOptions(true);
  ScanRows(state, text, view.get(), &TEditorParser::Create);
}
BENCHMARK(BM_SourceCodeWithLinks)->Unit(benchmark::kMillisecond);

void BM_SourceCodeNoEditor(benchmark::State& state) {
  static const std::string text = bench::SourceCode(kTextBytes);
  ScanRows(state, text, nullptr, &TEditorParser::Create);
}
BENCHMARK(BM_SourceCodeNoEditor)->Unit(benchmark::kMillisecond);

void BM_SourceCodeKervParser(benchmark::State& state) {
  static const std::string text = bench::SourceCode(kTextBytes);
  ScanRows(state, text, nullptr, &TKervEditorParser::Create);
}
BENCHMARK(BM_SourceCodeKervParser)->Unit(benchmark::kMillisecond);

void BM_JapaneseProse(benchmark::State& state) {
  static const std::string text = bench::JapaneseText(kTextBytes);
  auto view = ProseOptions();
  ScanRows(state, text, view.get(), &TEditorParser::Create);
}
BENCHMARK(BM_JapaneseProse)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
