// Whole processes, timed from outside as a user meets them: kerv opening a
// 100 MB Shift_JIS text and the same text as 112 MB of UTF-8 (from the start
// of the process until it has painted and sits idle), and kervtext convert
// beside iconv on the same files. Each figure comes with the process's peak
// memory. The text is dictionary-like: a headword, its reading and English
// glosses, about 73 bytes a line.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "document/TStringCodeConverter.h"
#include "platform/posix/IconvCodePage.h"

extern char** environ;

namespace kerv::bench {
namespace {

using Clock = std::chrono::steady_clock;

const std::string& WorkFolder() {
  static const std::string folder = [] {
    std::string path = (std::filesystem::temp_directory_path() / "kerv-bench-process").string();
    std::filesystem::create_directories(path + "/home");
    return path;
  }();
  return folder;
}

// ---- the texts

std::string DictionaryText(size_t totalBytes) {
  IconvCodePage codePage;
  std::mt19937 random(7);
  std::vector<std::string> kanji, hiragana;
  for (char32_t c = 0x4E00; c < 0x9FA0; ++c) {
    char utf8[4] = {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                    static_cast<char>(0x80 | (c & 0x3F)), 0};
    ConversionReport report;
    std::string sjis = codePage.Utf8ToCp932(utf8, &report);
    if (report.replaced == 0) kanji.push_back(sjis);
  }
  for (char32_t c = 0x3041; c < 0x3094; ++c) {
    char utf8[4] = {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                    static_cast<char>(0x80 | (c & 0x3F)), 0};
    hiragana.push_back(codePage.Utf8ToCp932(utf8, nullptr));
  }
  const char* words[] = {"the",  "of",   "to",   "a",    "in",   "is",    "it",   "you",  "that", "he",
                         "was",  "for",  "on",   "are",  "as",   "with",  "his",  "they", "at",   "be",
                         "this", "have", "from", "or",   "one",  "had",   "by",   "word", "but",  "not",
                         "what", "all",  "were", "when", "your", "can",   "said", "use",  "each", "which",
                         "make", "like", "time", "look", "two",  "write", "see",  "way",  "long", "day"};
  std::string text;
  text.reserve(totalBytes + 256);
  auto pick = [&random](int low, int high) { return low + static_cast<int>(random() % (high - low + 1)); };
  while (text.size() < totalBytes) {
    for (int k = pick(1, 3); k > 0; --k) text += kanji[random() % kanji.size()];
    text += " [";
    for (int k = pick(2, 5); k > 0; --k) text += hiragana[random() % hiragana.size()];
    text += "] /(n) ";
    for (int gloss = pick(2, 4); gloss > 0; --gloss) {
      for (int k = pick(1, 5); k > 0; --k) {
        text += words[random() % std::size(words)];
        if (k > 1) text += ' ';
      }
      text += '/';
    }
    text += "EntL" + std::to_string(pick(1000000, 2999999)) + "/\r\n";
  }
  return text;
}

struct Files {
  std::string sjis, utf8, euc;
};

void MakeFiles(const Files& f);

const Files& TextFiles() {
  static const Files files = [] {
    Files f{WorkFolder() + "/dict.sjis.txt", WorkFolder() + "/dict.utf8.txt", WorkFolder() + "/dict19.euc.txt"};
    if (!std::filesystem::exists(f.euc)) {
      // Made in a child, so that this process stays small: a child's peak
      // memory counts its parent's from before the exec.
      pid_t maker = ::fork();
      if (maker == 0) {
        MakeFiles(f);
        ::_exit(0);
      }
      ::waitpid(maker, nullptr, 0);
    }
    return f;
  }();
  return files;
}

void MakeFiles(const Files& f) {
  {
    {
      IconvCodePage codePage;
      TStringCodeConverter converter(codePage);
      const std::string sjis = DictionaryText(size_t{100} << 20);
      std::ofstream(f.sjis, std::ios::binary) << sjis;
      std::ofstream(f.utf8, std::ios::binary) << converter.FromInternal(sjis, ccUTF8N);
      const std::string euc = converter.FromInternal(sjis, ccEUC);
      // 19 MB cut after a line break.
      size_t cut = euc.find('\n', size_t{19} << 20);
      std::ofstream(f.euc, std::ios::binary) << euc.substr(0, cut + 1);
    }
  }
}

// ---- processes

std::string ProgramBeside(const char* name) {
  // The benchmarks live in build/bench/, the programs in build/app/ and build/kervtext/.
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
  return (self / name).string();
}

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv, const char* out) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());
  std::vector<char*> args, envp;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Nanoseconds every thread of pid has run so far.
long long RunNanoseconds(pid_t pid) {
  long long total = 0;
  std::error_code error;
  for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    std::ifstream stat(task.path() / "schedstat");
    long long run = 0;
    if (stat >> run) total += run;
  }
  return total;
}

long PeakKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return 0;
}

struct Figures {
  double seconds = 0;
  double peakMb = 0;
};

// kerv on a file, offscreen: the time from the start until the last burst
// of work before it has sat idle for a quarter of a second (the caret's
// blinking and other timers cost well under a millisecond).
Figures OpenInKerv(const std::string& file) {
  const auto start = Clock::now();
  std::vector<std::string> argv = {ProgramBeside("app/kerv")};
  if (!file.empty()) argv.push_back(file);
  std::vector<std::string> env = {"HOME=" + WorkFolder() + "/home", "XDG_CONFIG_HOME=" + WorkFolder() + "/home/.config"};
  // On the display when there is one (the window as a user sees it, the X
  // server's work included), offscreen otherwise.
  if (std::getenv("DISPLAY") == nullptr) env.push_back("QT_QPA_PLATFORM=offscreen");
  pid_t pid = Spawn(argv, env, "/dev/null");
  Figures figures;
  if (pid < 0) return figures;
  long long lastRun = 0;
  auto lastBusy = start;
  for (;;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const auto now = Clock::now();
    const long long run = RunNanoseconds(pid);
    if (run - lastRun > 1000000) {  // a millisecond of work since the last look
      lastRun = run;
      lastBusy = now;
    }
    if (now - lastBusy > std::chrono::milliseconds(250) || now - start > std::chrono::seconds(30)) break;
  }
  figures.seconds = std::chrono::duration<double>(lastBusy - start).count();
  figures.peakMb = static_cast<double>(PeakKb(pid)) / 1024.0;
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  return figures;
}

// A command to its end: wall time and peak memory.
Figures RunToEnd(const std::vector<std::string>& argv, const char* out) {
  const auto start = Clock::now();
  pid_t pid = Spawn(argv, {}, out);
  Figures figures;
  if (pid < 0) return figures;
  int status = 0;
  struct rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  figures.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  figures.peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return figures;
}

void Report(benchmark::State& state, const std::vector<Figures>& runs) {
  // The best run: the machine's other work only ever adds.
  Figures best = runs.front();
  for (const Figures& f : runs) {
    if (f.seconds < best.seconds) best = f;
  }
  state.counters["s"] = best.seconds;
  state.counters["peak_MB"] = best.peakMb;
}

void BM_KervOpen(benchmark::State& state, bool utf8) {
  const Files& files = TextFiles();
  std::vector<Figures> runs;
  for (auto _ : state) {
    runs.push_back(OpenInKerv(utf8 ? files.utf8 : files.sjis));
    state.SetIterationTime(runs.back().seconds);
  }
  Report(state, runs);
  // The empty editor, for what the file adds.
  state.counters["empty_s"] = OpenInKerv("").seconds;
  state.counters["on_display"] = std::getenv("DISPLAY") != nullptr ? 1 : 0;
}
BENCHMARK_CAPTURE(BM_KervOpen, ShiftJIS_100MB, false)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KervOpen, UTF8_112MB, true)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_Convert(benchmark::State& state, bool euc) {
  const Files& files = TextFiles();
  const std::string in = euc ? files.euc : files.sjis;
  const std::string out = WorkFolder() + "/out.txt";
  const std::vector<std::string> kervtext = {ProgramBeside("kervtext/kervtext"), "convert", "--from", euc ? "euc" : "sjis",
                                             "--to", euc ? "sjis" : "utf8n", in, out};
  const std::vector<std::string> iconv = {"/usr/bin/iconv", "-f", euc ? "EUC-JP-MS" : "CP932", "-t",
                                          euc ? "CP932" : "UTF-8", in};
  std::vector<Figures> ours, theirs;
  for (auto _ : state) {
    ours.push_back(RunToEnd(kervtext, "/dev/null"));
    theirs.push_back(RunToEnd(iconv, (WorkFolder() + "/iconv.out").c_str()));
    state.SetIterationTime(ours.back().seconds);
  }
  Report(state, ours);
  Figures bestIconv = theirs.front();
  for (const Figures& f : theirs) {
    if (f.seconds < bestIconv.seconds) bestIconv = f;
  }
  state.counters["iconv_s"] = bestIconv.seconds;
  state.counters["iconv_peak_MB"] = bestIconv.peakMb;
  state.counters["x_iconv_speed"] = bestIconv.seconds / state.counters["s"].value;
}
BENCHMARK_CAPTURE(BM_Convert, ShiftJIS_100MB_to_UTF8, false)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Convert, EUC_19MB_to_ShiftJIS, true)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kerv::bench

BENCHMARK_MAIN();
