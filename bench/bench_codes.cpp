// Character codes: detection and every conversion in both directions on a
// generated 100 MB Japanese text, beside glibc iconv doing the same work, and
// a summary of the ratios. "bench_codes --write-text=PATH [--megabytes=N]"
// writes the Shift_JIS text instead (scripts/bench-codes.sh uses it).

#include <benchmark/benchmark.h>
#include <iconv.h>
#include <malloc.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench/BenchData.h"
#include "document/TFileManager.h"
#include "document/TStringCodeConverter.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv::bench {
namespace {

size_t g_megabytes = 100;

IconvCodePage& CodePage() {
  static IconvCodePage codePage;
  return codePage;
}

TStringCodeConverter& Converter() {
  static TStringCodeConverter converter(CodePage());
  return converter;
}

using C = TStringCodeConverter;

// The texts, each made on first use.
const std::string& Sjis() {
  static const std::string text = JapaneseText(g_megabytes << 20);
  return text;
}
// JIS has no half-width katakana: the same text with them made full-width,
// so that both sides of the JIS comparison convert the same characters.
const std::string& SjisFullWidth() {
  static const std::string text = C::JISToSJIS(C::SJISToJIS(Sjis()));
  return text;
}
const std::string& Jis() {
  static const std::string text = C::SJISToJIS(Sjis());
  return text;
}
const std::string& Euc() {
  static const std::string text = C::SJISToEUC(Sjis());
  return text;
}
const std::string& Utf8() {
  static const std::string text = Converter().SJISToUTF8(Sjis());
  return text;
}
const std::string& Utf16Le() {
  static const std::string text = Converter().SJISToUnicode(Sjis());
  return text;
}
const std::string& Utf16Be() {
  static const std::string text = Converter().SJISToUnicodeBE(Sjis());
  return text;
}
const std::string& SjisLf() {
  static const std::string text = C::ConvertReturnCode(Sjis(), rcLF).text;
  return text;
}
const std::string& Ascii() {
  static const std::string text = SourceCode(g_megabytes << 20);
  return text;
}

template <typename Convert>
void Run(benchmark::State& state, const std::string& input, Convert convert) {
  for (auto _ : state) {
    auto result = convert(input);
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
}

// One iconv call over the whole input, as a program that converts a file would.
void RunIconv(benchmark::State& state, const std::string& input, const char* to, const char* from) {
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv_open failed");
    return;
  }
  std::string out(input.size() * 3 + 16, '\0');
  for (auto _ : state) {
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char* w = out.data();
    size_t outLeft = out.size();
    if (::iconv(cd, &in, &inLeft, &w, &outLeft) == static_cast<size_t>(-1)) {
      state.SkipWithError("iconv rejected the text");
      break;
    }
    benchmark::DoNotOptimize(w);
  }
  ::iconv_close(cd);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
}

void Register() {
  auto add = [](const char* name, auto function) {
    benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond);
  };
  // Detection.
  add("DetectCode/sjis", [](benchmark::State& s) { Run(s, Sjis(), [](const std::string& t) { return C::DetectCode(t, true); }); });
  add("DetectCode/euc", [](benchmark::State& s) { Run(s, Euc(), [](const std::string& t) { return C::DetectCode(t, true); }); });
  add("DetectCode/jis", [](benchmark::State& s) { Run(s, Jis(), [](const std::string& t) { return C::DetectCode(t, true); }); });
  add("DetectCode/utf8n", [](benchmark::State& s) { Run(s, Utf8(), [](const std::string& t) { return C::DetectCode(t, true); }); });
  add("DetectCode/ascii", [](benchmark::State& s) { Run(s, Ascii(), [](const std::string& t) { return C::DetectCode(t, true); }); });
  add("IsUTF8N/utf8n", [](benchmark::State& s) { Run(s, Utf8(), [](const std::string& t) { return C::IsUTF8N(t); }); });
  add("DetectReturnCode/sjis", [](benchmark::State& s) { Run(s, Sjis(), [](const std::string& t) { return C::DetectReturnCode(t); }); });
  add("ConvertReturnCode/crlf>lf", [](benchmark::State& s) { Run(s, Sjis(), [](const std::string& t) { return C::ConvertReturnCode(t, rcLF).text; }); });
  add("ConvertReturnCode/lf>crlf", [](benchmark::State& s) { Run(s, SjisLf(), [](const std::string& t) { return C::ConvertReturnCode(t, rcCRLF).text; }); });

  // Conversions, each followed by iconv doing the same.
  add("JISToSJIS", [](benchmark::State& s) { Run(s, Jis(), [](const std::string& t) { return C::JISToSJIS(t); }); });
  add("iconv/ISO-2022-JP>CP932", [](benchmark::State& s) { RunIconv(s, Jis(), "CP932", "ISO-2022-JP"); });
  add("SJISToJIS", [](benchmark::State& s) { Run(s, SjisFullWidth(), [](const std::string& t) { return C::SJISToJIS(t); }); });
  add("iconv/CP932>ISO-2022-JP", [](benchmark::State& s) { RunIconv(s, SjisFullWidth(), "ISO-2022-JP", "CP932"); });
  add("EUCToSJIS", [](benchmark::State& s) { Run(s, Euc(), [](const std::string& t) { return C::EUCToSJIS(t); }); });
  add("iconv/EUC-JP-MS>CP932", [](benchmark::State& s) { RunIconv(s, Euc(), "CP932", "EUC-JP-MS"); });
  add("SJISToEUC", [](benchmark::State& s) { Run(s, Sjis(), [](const std::string& t) { return C::SJISToEUC(t); }); });
  add("iconv/CP932>EUC-JP-MS", [](benchmark::State& s) { RunIconv(s, Sjis(), "EUC-JP-MS", "CP932"); });
  add("UTF8NToSJIS", [](benchmark::State& s) { Run(s, Utf8(), [](const std::string& t) { return Converter().UTF8NToSJIS(t); }); });
  add("iconv/UTF-8>CP932", [](benchmark::State& s) { RunIconv(s, Utf8(), "CP932", "UTF-8"); });
  add("SJISToUTF8", [](benchmark::State& s) { Run(s, Sjis(), [](const std::string& t) { return Converter().SJISToUTF8(t); }); });
  add("iconv/CP932>UTF-8", [](benchmark::State& s) { RunIconv(s, Sjis(), "UTF-8", "CP932"); });
  add("UnicodeToSJIS", [](benchmark::State& s) { Run(s, Utf16Le(), [](const std::string& t) { return Converter().UnicodeToSJIS(t); }); });
  add("iconv/UTF-16LE>CP932", [](benchmark::State& s) { RunIconv(s, Utf16Le(), "CP932", "UTF-16LE"); });
  add("SJISToUnicode", [](benchmark::State& s) { Run(s, Sjis(), [](const std::string& t) { return Converter().SJISToUnicode(t); }); });
  add("iconv/CP932>UTF-16LE", [](benchmark::State& s) { RunIconv(s, Sjis(), "UTF-16LE", "CP932"); });
  add("UnicodeBEToSJIS", [](benchmark::State& s) { Run(s, Utf16Be(), [](const std::string& t) { return Converter().UnicodeBEToSJIS(t); }); });
  add("iconv/UTF-16BE>CP932", [](benchmark::State& s) { RunIconv(s, Utf16Be(), "CP932", "UTF-16BE"); });
  add("SJISToUnicodeBE", [](benchmark::State& s) { Run(s, Sjis(), [](const std::string& t) { return Converter().SJISToUnicodeBE(t); }); });
  add("iconv/CP932>UTF-16BE", [](benchmark::State& s) { RunIconv(s, Sjis(), "UTF-16BE", "CP932"); });

  // The whole read of a document: detection, conversion, control bytes, returns.
  add("LoadText/utf8n", [](benchmark::State& s) {
    FakeFileSystem fs;
    FakeDialogs dialogs;
    TFileManager manager(fs, CodePage(), dialogs);
    fs.AddFile("/tmp/doc.txt", Utf8());
    Run(s, Utf8(), [&](const std::string&) {
      std::string text;
      TReturnCode returnCode = rcNone;
      TCharCode charCode = ccAuto;
      manager.LoadText("/tmp/doc.txt", text, true, true, returnCode, charCode);
      return text;
    });
  });
}

// Prints the figures as they come and keeps each benchmark's best rate
// (over --benchmark_repetitions) for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      auto it = run.counters.find("bytes_per_second");
      if (it == run.counters.end() || run.error_occurred || run.run_type == Run::RT_Aggregate) continue;
      double& best = rates[run.run_name.function_name];
      best = std::max(best, it->second.value);
    }
  }
  std::map<std::string, double> rates;
};

void PrintSummary(const std::map<std::string, double>& rates) {
  auto mb = [](double bytesPerSecond) { return bytesPerSecond / 1e6; };
  std::printf("\nCharacter codes, %zu MB Japanese text (MB = 10^6 bytes)\n", g_megabytes);
  std::printf("%-20s %12s %12s %8s %8s\n", "conversion", "ours MB/s", "iconv MB/s", "ratio", "target");
  struct Pair {
    const char* ours;
    const char* iconv;
    double target;
  } pairs[] = {
      {"JISToSJIS", "iconv/ISO-2022-JP>CP932", 3},   {"SJISToJIS", "iconv/CP932>ISO-2022-JP", 3},
      {"EUCToSJIS", "iconv/EUC-JP-MS>CP932", 3},     {"SJISToEUC", "iconv/CP932>EUC-JP-MS", 3},
      {"UTF8NToSJIS", "iconv/UTF-8>CP932", 1},       {"SJISToUTF8", "iconv/CP932>UTF-8", 1},
      {"UnicodeToSJIS", "iconv/UTF-16LE>CP932", 1},  {"SJISToUnicode", "iconv/CP932>UTF-16LE", 1},
      {"UnicodeBEToSJIS", "iconv/UTF-16BE>CP932", 1}, {"SJISToUnicodeBE", "iconv/CP932>UTF-16BE", 1},
  };
  for (const Pair& pair : pairs) {
    auto ours = rates.find(pair.ours);
    auto iconv = rates.find(pair.iconv);
    if (ours == rates.end() || iconv == rates.end()) continue;
    double ratio = ours->second / iconv->second;
    std::printf("%-20s %12.0f %12.0f %7.2fx %7.0fx %s\n", pair.ours, mb(ours->second), mb(iconv->second), ratio,
                pair.target, ratio >= pair.target ? "ok" : "BELOW TARGET");
  }
  std::printf("%-20s %12s %12s %8s %8s\n", "detection", "MB/s", "", "", "target");
  for (const auto& [name, rate] : rates) {
    if (name.rfind("DetectCode/", 0) != 0 && name.rfind("IsUTF8N/", 0) != 0) continue;
    std::printf("%-20s %12.0f %12s %8s %8s %s\n", name.c_str(), mb(rate), "", "", "1000", mb(rate) >= 1000 ? "ok" : "BELOW TARGET");
  }
}

int WriteText(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  const std::string& text = Sjis();
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "bench_codes: cannot write %s\n", path.c_str());
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace kerv::bench

int main(int argc, char** argv) {
  std::string writeTo;
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.rfind("--write-text=", 0) == 0) {
      writeTo = arg.substr(std::strlen("--write-text="));
    } else if (arg.rfind("--megabytes=", 0) == 0) {
      kerv::bench::g_megabytes = std::stoul(arg.substr(std::strlen("--megabytes=")));
    } else {
      rest.push_back(argv[i]);
    }
  }
  if (!writeTo.empty()) return kerv::bench::WriteText(writeTo);

  // Fresh memory costs the kernel's page faults, the same for any converter
  // (and dear in a virtual machine): the heap keeps what an iteration frees,
  // so that the figures measure the conversions.
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);

  int restCount = static_cast<int>(rest.size());
  benchmark::Initialize(&restCount, rest.data());
  if (benchmark::ReportUnrecognizedArguments(restCount, rest.data())) return 1;
  kerv::bench::Register();
  kerv::bench::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  kerv::bench::PrintSummary(reporter.rates);
  benchmark::Shutdown();
  return 0;
}
