// Opening and saving a 100 MB document the way the window does: the file
// manager's ReadFile (size, detection, conversion, loading into the line
// store with word wrap at 80) and WriteFile (conversion, temporary file,
// flush, rename). Each open runs in a child process so that its peak memory
// (maxrss above the child's starting size, as a multiple of the file size)
// and its user and system time are its own.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "app/commands/TKervEditorDocument.h"
#include "app/commands/TKervEditors.h"
#include "bench/BenchData.h"
#include "bench/QuietEditorWindow.h"
#include "document/TKervFileManager.h"
#include "editor/TEditor.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakeFileDialogs.h"
#include "platform/fake/FakeFileLock.h"
#include "platform/posix/IconvCodePage.h"
#include "platform/posix/PosixFileSystem.h"

namespace kerv::bench {
namespace {

constexpr size_t kBytes = 100u * 1024 * 1024;

// ---- the window around the file manager, doing nothing
class Panes : public IKervEditors {
 public:
  Panes() {
    editor.WrapOption().SetWrapByte(80);
    editor.SetWordWrap(true);
  }
  QuietWindow window;
  TEditor editor{&window};
  TEditor& ActiveEditor() override { return editor; }
  TEditor& MainEditor() override { return editor; }
  TEditor* SecondEditor() override { return nullptr; }
  bool EditorHasFocus() override { return true; }
};

class SilentWindow : public IKervDocumentWindow {
 public:
  int MessageBox(const std::string&, int, int) override { return TKervBox::maYes; }
  void Notify(const std::string&, int) override {}
  void ShowErrorCode(int code, const std::optional<std::string>& argument) override {
    std::fprintf(stderr, "error %d %s\n", code, argument.value_or("").c_str());
  }
  void SetFileBusy(bool) override {}
  bool BackupBlocked() override { return false; }
  void SetDialogState(int) override {}
  void SetTitles(const std::string&, const std::string&) override {}
  void RefreshStatus(TCharCode, TReturnCode) override {}
};

class NoOtherWindows : public IKervOtherWindows {
 public:
  int WindowNumber() override { return 0; }
  bool ActivateWindowWith(const std::string&) override { return false; }
};

class FixedClock : public IKervClock {
 public:
  TKervLocalTime Now() override { return {}; }
};

class IdleTimer : public IKervTimer {
 public:
  void SetInterval(int) override {}
  int Interval() const override { return 60000; }
  void SetEnabled(bool) override {}
  bool Enabled() const override { return false; }
};

// One window's document: panes, ports and the file manager.
struct Window {
  kerv::PosixFileSystem fs;
  IconvCodePage codePage;
  FakeDialogs dialogs;
  FakeFileDialogs fileDialogs;
  FakeLockTable locks;
  FakeFileLock lock{locks};
  Panes panes;
  TKervEditorDocument document{panes};
  SilentWindow window;
  NoOtherWindows others;
  FixedClock clock;
  IdleTimer timer;
  TKervFileManager manager{
      TKervFileManagerPorts{fs, codePage, dialogs, fileDialogs, lock, document, window, others, clock, timer}};
  Window() {
    TKervFileOptions options;
    options.CheckFileSize = false;
    manager.ApplySettings(options);
  }
};

// ---- the test files, written once
std::string Folder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/kervbenchfilesXXXXXX";
    return std::string(::mkdtemp(pattern)) + "/";
  }();
  return folder;
}

const std::string& SourceFile(TCharCode code) {
  static std::string sjis, utf8;
  std::string& path = code == ccShiftJIS ? sjis : utf8;
  if (path.empty()) {
    path = Folder() + (code == ccShiftJIS ? "sjis.txt" : "utf8.txt");
    {
      std::string text = JapaneseText(kBytes);
      IconvCodePage codePage;
      PosixFileSystem fs;
      fs.WriteFile(path, code == ccShiftJIS ? text : codePage.Cp932ToUtf8(text));
    }
    ::malloc_trim(0);  // the parent forks: it should not carry the text along
  }
  return path;
}

long ResidentKb() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

struct ChildFigures {
  double wallSeconds = 0;
  double userSeconds = 0;
  double systemSeconds = 0;
  double peakRatio = 0;  // peak memory above the start, per byte of the file
  bool ok = false;
};

ChildFigures RunInChild(const std::function<bool()>& work, size_t fileBytes) {
  int fds[2];
  if (::pipe(fds) != 0) return {};
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    struct Message {
      double wall;
      long baseKb;
      int ok;
    } message{};
    message.baseKb = ResidentKb();
    auto start = std::chrono::steady_clock::now();
    message.ok = work() ? 1 : 0;
    message.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (::write(fds[1], &message, sizeof message) != static_cast<ssize_t>(sizeof message)) ::_exit(1);
    ::_exit(0);
  }
  ::close(fds[1]);
  struct {
    double wall;
    long baseKb;
    int ok;
  } message{};
  bool got = ::read(fds[0], &message, sizeof message) == static_cast<ssize_t>(sizeof message);
  ::close(fds[0]);
  int status = 0;
  struct rusage usage {};
  ::wait4(pid, &status, 0, &usage);
  ChildFigures figures;
  if (!got) return figures;
  figures.ok = message.ok != 0;
  figures.wallSeconds = message.wall;
  figures.userSeconds = static_cast<double>(usage.ru_utime.tv_sec) + usage.ru_utime.tv_usec / 1e6;
  figures.systemSeconds = static_cast<double>(usage.ru_stime.tv_sec) + usage.ru_stime.tv_usec / 1e6;
  figures.peakRatio = static_cast<double>(usage.ru_maxrss - message.baseKb) * 1024.0 / static_cast<double>(fileBytes);
  return figures;
}

void BM_Open(benchmark::State& state, TCharCode code) {
  const std::string& path = SourceFile(code);
  const size_t fileBytes = static_cast<size_t>(PosixFileSystem().FileSize(path));
  ChildFigures last;
  for (auto _ : state) {
    last = RunInChild(
        [&] {
          Window window;
          return window.manager.ReadFile(path, ccAuto, false) && window.manager.CharCode() == code;
        },
        fileBytes);
    if (!last.ok) state.SkipWithError("open failed");
    state.SetIterationTime(last.wallSeconds);
  }
  state.counters["user_s"] = last.userSeconds;
  state.counters["sys_s"] = last.systemSeconds;
  state.counters["peak_x_size"] = last.peakRatio;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileBytes));
}

void BM_Save(benchmark::State& state, TCharCode code) {
  Window window;
  if (!window.manager.ReadFile(SourceFile(ccShiftJIS), ccShiftJIS, false)) {
    state.SkipWithError("open failed");
    return;
  }
  const std::string target = Folder() + "saved.txt";
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    bool ok = window.manager.WriteFile(target, code, rcCRLF);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (!ok) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * window.fs.FileSize(target)));
  window.fs.RemoveFile(target);
}

BENCHMARK_CAPTURE(BM_Open, ShiftJIS, ccShiftJIS)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Open, UTF8N, ccUTF8N)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Save, UTF8N, ccUTF8N)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Save, ShiftJIS, ccShiftJIS)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kerv::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  kerv::PosixFileSystem fs;
  for (const char* name : {"sjis.txt", "utf8.txt", "saved.txt"}) fs.RemoveFile(kerv::bench::Folder() + name);
  ::rmdir(kerv::bench::Folder().c_str());
  return 0;
}
