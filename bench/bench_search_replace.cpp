// The search command over an editor holding the shared 100 MB Japanese text:
// Find Next with the next hit 1 KB past the caret and with an absent word,
// plain and regular expression; replace-all of 100,000 hits and its undo.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/commands/TKervSearchCommand.h"
#include "app/settings/TKervSettingManager.h"
#include "bench/BenchData.h"
#include "bench/QuietEditorWindow.h"
#include "editor/TEditor.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv {
namespace {

using bench::QuietWindow;

struct Panes : IKervEditors {
  TEditor& ActiveEditor() override { return editor; }
  TEditor& MainEditor() override { return editor; }
  TEditor* SecondEditor() override { return nullptr; }
  bool EditorHasFocus() override { return true; }
  QuietWindow window;
  TEditor editor{&window};
};

struct Silent : IKervInformation {
  Answer MessageBox(const std::string&, int, int) override { return maYes; }
  void Notify(const std::string&, int) override {}
};

struct Bar : IKervSearchWindow {
  void SetSearchItems(const std::vector<std::string>&) override {}
  void SetReplaceItems(const std::vector<std::string>&) override {}
  void SetSearchText(const std::string&) override {}
  void SearchOptionsChanged() override {}
  void SendHistoryWord(int, const std::string&) override {}
  void FocusEditor() override {}
  void QuestionBeep() override {}
};

struct Progress : IKervSearchProgress {
  void Start() override {}
  void Step(int) override { ++steps; }
  bool Cancelled() override { return false; }
  void End() override {}
  int steps = 0;
};

struct Session {
  Session() { fs.AddFolder("/s"); }
  void Load(const std::string& text) {
    TMemoryStream stream(text);
    panes.editor.Lines().LoadFromStream(stream);
  }
  FakeFileSystem fs;
  IconvCodePage codePage;
  TKervSettingManager settings{fs, "/s/"};
  Panes panes;
  Silent information;
  Bar bar;
  Progress progress;
  TKervSearchCommand command{panes, information, settings, codePage, bar, progress};
};

const std::string& Needle() {
  static const std::string needle = bench::Sjis("検索語ＫＥＲＶ");
  return needle;
}

// The shared text with the needle placed 1 KB past its middle.
Session& NearSession(long long& caret) {
  static long long middle = 0;
  static Session* session = [] {
    std::string text = bench::SharedJapaneseText();
    size_t at = text.size() / 2;
    at = text.find("\r\n", at) + 2;
    middle = static_cast<long long>(at);
    text.insert(at + 1000 - (1000 % 2), "\r\n" + Needle() + "\r\n");
    auto* s = new Session;
    s->Load(text);
    return s;
  }();
  caret = middle;
  return *session;
}

void BM_FindNextNear(benchmark::State& state) {
  long long caret = 0;
  Session& s = NearSession(caret);
  s.settings.Search().SearchFlags = state.range(0) ? SearchFlag::RegExp : 0;
  for (auto _ : state) {
    state.PauseTiming();
    s.panes.editor.SetSelStart(caret);
    s.command.ResetSearchState();
    state.ResumeTiming();
    if (!s.command.Find(Needle(), true)) state.SkipWithError("not found");
  }
  state.SetLabel(state.range(0) ? "regular expression" : "plain");
}
BENCHMARK(BM_FindNextNear)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FindNextAbsent(benchmark::State& state) {
  long long caret = 0;
  Session& s = NearSession(caret);
  s.settings.Search().SearchFlags = state.range(0) ? SearchFlag::RegExp : 0;
  const std::string absent = bench::Sjis("存在しない語");
  for (auto _ : state) {
    state.PauseTiming();
    s.panes.editor.SetSelStart(0);
    state.ResumeTiming();
    if (s.command.Find(absent, true)) state.SkipWithError("found");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(bench::SharedJapaneseText().size()));
  state.SetLabel(state.range(0) ? "regular expression" : "plain");
}
BENCHMARK(BM_FindNextAbsent)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// 100,000 lines of the text start with the word; each run replaces them all
// on a fresh copy, then undoes the replacement.
void BM_ReplaceAll100k(benchmark::State& state) {
  const std::string word = bench::Sjis("置換元");
  std::string text;
  {
    const std::string& shared = bench::SharedJapaneseText();
    text.reserve(shared.size() + 100000 * word.size());
    size_t lineStart = 0;
    size_t every = shared.size() / 100000;
    size_t next = 0;
    int placed = 0;
    while (lineStart < shared.size()) {
      size_t end = shared.find("\r\n", lineStart);
      end = end == std::string::npos ? shared.size() : end + 2;
      if (lineStart >= next && placed < 100000) {
        text += word;
        ++placed;
        next += every;
      }
      text.append(shared, lineStart, end - lineStart);
      lineStart = end;
    }
  }
  bool regExp = state.range(0) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    Session s;
    s.Load(text);
    s.settings.Search().SearchFlags = regExp ? SearchFlag::RegExp : 0;
    state.ResumeTiming();
    int count = s.command.ReplaceAll(word, bench::Sjis("置換後の語"));
    state.PauseTiming();
    if (count != 100000) state.SkipWithError("wrong count");
    state.counters["progress_steps"] = s.progress.steps;
    auto undoStart = std::chrono::steady_clock::now();
    s.panes.editor.Undo();
    double undoMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - undoStart).count();
    state.counters["undo_ms"] = undoMs;
    state.counters["undo_steps_left"] = s.panes.editor.CanUndo() ? 1 : 0;
    state.ResumeTiming();
  }
  state.SetLabel(regExp ? "regular expression" : "plain");
}
BENCHMARK(BM_ReplaceAll100k)->Arg(0)->Arg(1)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kerv

BENCHMARK_MAIN();
