#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <memory>

#include "app/TKervProcessManager.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeWindowChannel.h"
#include "platform/posix/LocalSocketChannel.h"
#include "platform/posix/PosixFileSystem.h"

namespace kerv {
namespace {

namespace msg = window_message;

// The window side, recording what the other windows asked of it.
class RecordingPort : public IKervWindowPort {
 public:
  std::string fileName = "NewDoc.txt";
  int dialogState = 0;
  std::vector<std::string> calls;

  std::string FileName() override { return fileName; }
  std::string Caption() override { return fileName + " - KervEditor"; }
  int DialogState() override { return dialogState; }
  void Restore() override { calls.push_back("restore"); }
  void BringToFront() override { calls.push_back("front"); }
  void ReloadSettings() override { calls.push_back("reload"); }
  void AddSearchHistory(const std::string& word) override { calls.push_back("search:" + word); }
  void AddReplaceHistory(const std::string& word) override { calls.push_back("replace:" + word); }
  void Minimize() override { calls.push_back("minimize"); }
  void CloseWindow() override { calls.push_back("close"); }
  void ReloadEditModes() override { calls.push_back("modes"); }
  void PlaceWindow(int left, int top, int width, int height) override {
    calls.push_back("place:" + std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(width) + "," +
                    std::to_string(height));
  }
};

using Calls = std::vector<std::string>;
constexpr int kTimeoutMs = 150;

// One editor window on the shared fake bus.
struct FakeWindow {
  FakeWindow(FakeWindowBus& bus, IFileSystem& fs, const std::string& fileName = "NewDoc.txt")
      : channel(bus), manager(channel, port, fs, kTimeoutMs) {
    port.fileName = fileName;
    manager.AssignNumber();
  }
  FakeWindowChannel channel;
  RecordingPort port;
  TKervProcessManager manager;
};

class ProcessManagerTest : public ::testing::Test {
 protected:
  std::unique_ptr<FakeWindow> Start(const std::string& fileName = "NewDoc.txt") {
    return std::make_unique<FakeWindow>(bus_, fs_, fileName);
  }
  static std::vector<int> Numbers(const std::vector<TKervProcessInfo>& list) {
    std::vector<int> numbers;
    for (const auto& entry : list) numbers.push_back(entry.WindowNumber);
    return numbers;
  }
  FakeWindowBus bus_;
  FakeFileSystem fs_;
};

// --- Window numbers and the list ---

TEST_F(ProcessManagerTest, NumbersGrowFromTheLargestRunningWindow) {
  auto w0 = Start();
  auto w1 = Start();
  auto w2 = Start();
  EXPECT_EQ(w0->manager.WindowNumber(), 0);
  EXPECT_EQ(w1->manager.WindowNumber(), 1);
  EXPECT_EQ(w2->manager.WindowNumber(), 2);
  // Every window's list holds all three, itself included, in number order.
  for (FakeWindow* window : {w0.get(), w1.get(), w2.get()})
    EXPECT_EQ(Numbers(window->manager.Enumerate()), (std::vector<int>{0, 1, 2}));

  w1.reset();  // a closed window drops out at once
  EXPECT_FALSE(bus_.HasEndpoint(1));
  EXPECT_EQ(Numbers(w0->manager.Enumerate()), (std::vector<int>{0, 2}));
  EXPECT_EQ(Start()->manager.WindowNumber(), 3);

  w2.reset();  // the largest is gone: its number is free again
  EXPECT_EQ(Start()->manager.WindowNumber(), 1);
  w0.reset();
  EXPECT_EQ(Start()->manager.WindowNumber(), 0);
}

TEST_F(ProcessManagerTest, StaleAndHungWindowsAreLeftOut) {
  auto w0 = Start();
  bus_.AddStaleEndpoint(7);  // a crashed window's leftover
  auto w1 = Start();
  EXPECT_EQ(w1->manager.WindowNumber(), 1);
  EXPECT_FALSE(bus_.HasEndpoint(7));

  auto w2 = Start();
  w1->channel.SetHung(true);
  EXPECT_EQ(Numbers(w2->manager.Enumerate()), (std::vector<int>{0, 2}));
  // Every wait is bounded by the manager's time-out.
  for (int timeout : w2->channel.timeoutsUsed) EXPECT_EQ(timeout, kTimeoutMs);
  // The hung window still holds its endpoint, so its number is not handed out.
  w2.reset();
  EXPECT_EQ(Start()->manager.WindowNumber(), 2);
}

TEST_F(ProcessManagerTest, ClosingWindowDropsOutOfListsAndTheOldestSaves) {
  auto w0 = Start();
  auto w1 = Start();
  EXPECT_TRUE(w0->manager.IsFirstWindow());
  EXPECT_FALSE(w1->manager.IsFirstWindow());
  w0->manager.MarkClosing();
  EXPECT_TRUE(w0->manager.IsClosing());
  EXPECT_EQ(Numbers(w1->manager.Enumerate()), (std::vector<int>{1}));
  EXPECT_TRUE(w1->manager.IsFirstWindow());
  EXPECT_TRUE(w0->manager.Enumerate().size() == 1 && w0->manager.List()[0].WindowNumber == 1);
  EXPECT_FALSE(w0->manager.IsFirstWindow());
}

TEST_F(ProcessManagerTest, WindowListCarriesNamesAndCaptions) {
  auto w0 = Start("/home/user/a.txt");
  auto w1 = Start();
  auto list = w1->manager.WindowList();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].WindowNumber, 0);
  EXPECT_EQ(list[0].fileName, "/home/user/a.txt");
  EXPECT_EQ(list[0].caption, "/home/user/a.txt - KervEditor");
  EXPECT_FALSE(list[0].isThis);
  EXPECT_EQ(list[1].caption, "NewDoc.txt - KervEditor");
  EXPECT_TRUE(list[1].isThis);
}

// --- Queries ---

TEST_F(ProcessManagerTest, DoubleOpenFindsTheWindowAndBringsItForward) {
  fs_.AddFolder("/home/user/docs");
  fs_.AddFile("/home/user/docs/a.txt", "text");
  fs_.AddLink("/home/user/link.txt", "/home/user/docs/a.txt");
  auto w0 = Start("/home/user/docs/b.txt");
  auto w1 = Start("/home/user/docs/a.txt");
  auto asking = Start("/home/user/docs/a.txt");  // its own name does not count

  struct Case {
    const char* name;
    int found;  // window number, -1 for none
  };
  const Case cases[] = {
      {"/home/user/docs/a.txt", 1},  {"/home/user/docs/../docs/./a.txt", 1},
      {"/home/user/link.txt", 1},                         // a link counts as its target
      {"/home/user/docs/A.txt", -1},                      // names are case-sensitive
      {"/home/user/docs/c.txt", -1}, {"NewDoc.txt", -1},  // nobody has an untitled document as a file
  };
  for (const Case& c : cases) {
    w0->port.calls.clear();
    w1->port.calls.clear();
    auto found = asking->manager.FindWindowWithFile(c.name);
    EXPECT_EQ(found ? found->WindowNumber : -1, c.found) << c.name;
    EXPECT_EQ(asking->manager.IsFileOpenElsewhere(c.name), c.found >= 0) << c.name;
    EXPECT_TRUE(w0->port.calls.empty()) << c.name;
    if (c.found == 1) {
      EXPECT_EQ(w1->port.calls, (Calls{"restore", "front", "restore", "front"})) << c.name;
    }
  }
}

TEST_F(ProcessManagerTest, UntitledWindowsNeverMatchAFileOfThatName) {
  fs_.AddFile("/home/user/NewDoc.txt", "");
  auto untitled = Start();
  auto asking = Start();
  EXPECT_FALSE(asking->manager.FindWindowWithFile("/home/user/NewDoc.txt"));
}

TEST_F(ProcessManagerTest, HungWindowDoesNotStopTheDoubleOpenQuery) {
  auto hung = Start("/home/user/a.txt");
  auto w1 = Start("/home/user/a.txt");
  auto asking = Start();
  hung->channel.SetHung(true);
  auto found = asking->manager.FindWindowWithFile("/home/user/a.txt");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->WindowNumber, 1);
  w1->channel.SetHung(true);
  EXPECT_FALSE(asking->manager.FindWindowWithFile("/home/user/a.txt"));
}

TEST_F(ProcessManagerTest, DialogStateQueryBringsTheOwnerForward) {
  auto w0 = Start();
  auto w1 = Start();
  auto asking = Start();
  w1->port.dialogState = 6;
  asking->port.dialogState = 1;  // its own state does not count
  EXPECT_FALSE(asking->manager.QueryDialogState(1));
  EXPECT_TRUE(w0->port.calls.empty());
  EXPECT_TRUE(w1->port.calls.empty());
  EXPECT_TRUE(asking->manager.ActivateDialogOwner(6));
  EXPECT_EQ(w1->port.calls, (Calls{"restore", "front"}));
  EXPECT_TRUE(w0->port.calls.empty());
  // A closing window reports no dialog.
  w1->manager.MarkClosing();
  EXPECT_FALSE(asking->manager.QueryDialogState(6));
}

// --- Notices ---

TEST_F(ProcessManagerTest, NoticesReachEveryOtherWindowWithoutWaitingForAnyone) {
  auto w0 = Start();
  auto closing = Start();
  auto hung = Start();
  auto w3 = Start();
  auto sender = Start();
  closing->manager.MarkClosing();
  hung->channel.SetHung(true);
  sender->channel.timeoutsUsed.clear();

  sender->manager.NotifyEditModesChanged();
  sender->manager.SendSearchWord("\x8C\x9F\x8D\xF5");  // a Shift_JIS word
  sender->manager.NotifyHistoryChanged(THistoryKind::Replace, "to");
  sender->manager.SendSearchWord("");  // an empty word goes nowhere

  const Calls expected = {"modes", "search:\x8C\x9F\x8D\xF5", "replace:to"};
  EXPECT_EQ(w0->port.calls, expected);
  EXPECT_EQ(w3->port.calls, expected);
  // A closing window still takes words (copy-data) but no numbered request.
  EXPECT_EQ(closing->port.calls, (Calls{"search:\x8C\x9F\x8D\xF5", "replace:to"}));
  EXPECT_TRUE(hung->port.calls.empty());
  EXPECT_TRUE(sender->port.calls.empty());
  // No notice waited for an answer: a hung window held nothing up.
  EXPECT_TRUE(sender->channel.timeoutsUsed.empty());
  EXPECT_EQ(sender->channel.posted.size(), 3u * 4u);
}

// --- Switching and arranging ---

TEST_F(ProcessManagerTest, WindowsComeForwardInNumberOrderWrappingRound) {
  auto w0 = Start();
  auto w1 = Start();
  auto w2 = Start();
  w1->manager.NextWindow();
  EXPECT_EQ(w2->port.calls, (Calls{"restore", "front"}));
  w2->port.calls.clear();
  w2->manager.NextWindow();
  EXPECT_EQ(w0->port.calls, (Calls{"restore", "front"}));
  w0->port.calls.clear();
  w0->manager.PreviousWindow();
  EXPECT_EQ(w2->port.calls, (Calls{"restore", "front"}));
  // Window 1 closes: the list (and the window menu) has two, and 0's next is 2.
  w1.reset();
  w2->port.calls.clear();
  const std::vector<TKervWindowEntry> list = w0->manager.WindowList();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].WindowNumber, 2);
  w0->manager.ActivateNumber(2);
  EXPECT_EQ(w2->port.calls, (Calls{"restore", "front"}));
  // Its own number, or one no longer running, does nothing.
  w0->manager.ActivateNumber(0);
  w0->manager.ActivateNumber(1);
  EXPECT_TRUE(w0->port.calls.empty());
}

TEST_F(ProcessManagerTest, ArrangingAsksEveryWindowToPlaceItself) {
  auto w0 = Start();
  auto w1 = Start();
  const TScreenRect area{0, 20, 1200, 800};
  w0->manager.Arrange(TArrangeKind::SideBySide, area, 24);
  EXPECT_EQ(w0->port.calls, (Calls{"place:0,20,600,800"}));
  EXPECT_EQ(w1->port.calls, (Calls{"place:600,20,600,800"}));
  w0->port.calls.clear();
  w1->port.calls.clear();
  w1->manager.Arrange(TArrangeKind::MinimizeAll, area, 24);
  EXPECT_EQ(w0->port.calls, (Calls{"minimize"}));
  EXPECT_EQ(w1->port.calls, (Calls{"minimize"}));
}

TEST(ArrangeRectsTest, WindowsShareTheAreaWithoutOverlapping) {
  const TScreenRect area{10, 20, 1000, 700};
  struct Case {
    TArrangeKind kind;
    int count;
    std::vector<TScreenRect> rects;
  } cases[] = {
      {TArrangeKind::Stacked, 3, {{10, 20, 1000, 233}, {10, 253, 1000, 233}, {10, 486, 1000, 234}}},
      {TArrangeKind::SideBySide, 2, {{10, 20, 500, 700}, {510, 20, 500, 700}}},
      {TArrangeKind::SideBySide, 1, {{10, 20, 1000, 700}}},
      {TArrangeKind::Cascade, 2, {{10, 20, 666, 466}, {40, 50, 666, 466}}},
      {TArrangeKind::MinimizeAll, 2, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ArrangeRects(c.kind, c.count, area, 30), c.rects) << static_cast<int>(c.kind) << " x" << c.count;
  }
  // Cascaded windows never leave the area.
  for (const TScreenRect& r : ArrangeRects(TArrangeKind::Cascade, 40, area, 30)) {
    EXPECT_LE(r.left + r.width, area.left + area.width);
    EXPECT_LE(r.top + r.height, area.top + area.height);
  }
}

// --- Answers ---

TEST_F(ProcessManagerTest, AnswersFollowTheMessageTable) {
  auto window = Start("/home/user/a.txt");
  window->port.dialogState = 2;
  struct Case {
    uint32_t message;
    int64_t kind;
    std::string text;
    int64_t result;
    Calls calls;
  };
  const std::vector<Case> cases = {
      {msg::kWindowNumber, 0, "", 0, {}},
      {msg::kDialogState, 0, "", 2, {}},
      {msg::kMinimize, 0, "", 0, {"minimize"}},
      {msg::kRestore, 0, "", 0, {"restore"}},
      {msg::kClose, 0, "", 0, {"close"}},
      {msg::kReloadSettings, 0, "", 0, {"reload"}},
      {msg::kReloadEditModes, 0, "", 0, {"modes"}},
      {msg::kNone, 0, "", 0, {}},
      {msg::kBringToFront, 0, "", 0, {"front"}},
      {0x1234, 0, "", 0, {}},
      {msg::kCopyData, copy_data_kind::kIsFileOpen, "/home/user/a.txt", 1, {}},
      {msg::kCopyData, copy_data_kind::kIsFileOpen, std::string("/home/user/a.txt\0junk", 21), 1, {}},
      {msg::kCopyData, copy_data_kind::kIsFileOpen, "/home/user/A.TXT", 0, {}},
      {msg::kCopyData, copy_data_kind::kSearchWord, std::string("w\0x", 3), 1, {"search:w"}},
      {msg::kCopyData, copy_data_kind::kReplaceWord, "r", 1, {"replace:r"}},
      {msg::kCopyData, copy_data_kind::kSearchWord, "", 1, {}},
      {msg::kCopyData, 9, "anything", 1, {}},
  };
  for (const Case& c : cases) {
    window->port.calls.clear();
    TWindowMessage message;
    message.message = c.message;
    message.kind = c.kind;
    message.text = c.text;
    EXPECT_EQ(window->manager.HandleMessage(message).result, c.result) << std::hex << c.message << " " << c.kind;
    EXPECT_EQ(window->port.calls, c.calls) << std::hex << c.message << " " << c.kind;
  }

  TWindowMessage place;
  place.message = msg::kPlaceWindow;
  place.wParam = static_cast<int64_t>((uint64_t{static_cast<uint32_t>(-8)} << 32) | 20);
  place.lParam = (int64_t{800} << 32) | 600;
  window->port.calls.clear();
  window->manager.HandleMessage(place);
  EXPECT_EQ(window->port.calls, (Calls{"place:-8,20,800,600"}));

  TWindowMessage query;
  query.message = msg::kCaption;
  EXPECT_EQ(window->manager.HandleMessage(query).text, "/home/user/a.txt - KervEditor");
  query.message = msg::kFileName;
  EXPECT_EQ(window->manager.HandleMessage(query).text, "/home/user/a.txt");
}

TEST_F(ProcessManagerTest, ClosingWindowAnswersOnlyCopyData) {
  auto window = Start("/home/user/a.txt");
  window->port.dialogState = 1;
  window->manager.MarkClosing();
  TWindowMessage message;
  for (uint32_t number : {msg::kDialogState, msg::kRestore, msg::kBringToFront, msg::kReloadSettings, msg::kClose}) {
    message.message = number;
    EXPECT_EQ(window->manager.HandleMessage(message).result, 0) << std::hex << number;
  }
  EXPECT_TRUE(window->port.calls.empty());
  message.message = msg::kWindowNumber;
  EXPECT_EQ(window->manager.HandleMessage(message).result, -1);
  message.message = msg::kCopyData;
  message.kind = copy_data_kind::kIsFileOpen;
  message.text = "/home/user/a.txt";
  EXPECT_EQ(window->manager.HandleMessage(message).result, 1);
  message.kind = copy_data_kind::kSearchWord;
  message.text = "w";
  window->manager.HandleMessage(message);
  EXPECT_EQ(window->port.calls, (Calls{"search:w"}));
}

// A channel that cannot be had (no private folder).
class BrokenChannel : public FakeWindowChannel {
 public:
  using FakeWindowChannel::FakeWindowChannel;
  int Open(const std::function<int()>&) override { throw EWindowChannelError("/run/user/1/kerv: open to other users"); }
};

TEST_F(ProcessManagerTest, WithoutAChannelTheWindowRunsAloneAsZero) {
  auto other = Start();
  auto second = Start();
  BrokenChannel channel(bus_);
  RecordingPort port;
  TKervProcessManager manager(channel, port, fs_, kTimeoutMs);
  EXPECT_FALSE(manager.AssignNumber());
  EXPECT_EQ(manager.WindowNumber(), 0);
  EXPECT_NE(manager.ChannelError().find("open to other users"), std::string::npos);
  EXPECT_FALSE(manager.FindWindowWithFile("/x"));
}

// --- Real processes ---

// An editor window in a forked process: a process manager over the socket
// channel, answering until its control pipe closes. It reports its number
// and then one byte per call of its port ('F' for brought to the front).
class ForkedEditor {
 public:
  ForkedEditor(const std::string& folder, const std::string& fileName) {
    int control[2], report[2];
    if (::pipe(control) != 0 || ::pipe(report) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) Run(folder, fileName, control[0], report[1]);
    ::close(control[0]);
    ::close(report[1]);
    control_ = control[1];
    report_ = report[0];
    int value = -1;
    number_ = Receive(&value, sizeof value) ? value : -1;
  }
  ~ForkedEditor() {
    ::kill(pid_, SIGCONT);
    ::close(control_);
    ::close(report_);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  ForkedEditor(const ForkedEditor&) = delete;
  ForkedEditor& operator=(const ForkedEditor&) = delete;

  int number() const { return number_; }
  void Stop() { ::kill(pid_, SIGSTOP); }
  char NextCall() {
    char call = 0;
    return Receive(&call, 1) ? call : '?';
  }

 private:
  // The report pipe is read with a guard against a lost child, not to time anything.
  bool Receive(void* into, size_t size) {
    pollfd ready = {report_, POLLIN, 0};
    return ::poll(&ready, 1, 20000) == 1 && ::read(report_, into, size) == static_cast<ssize_t>(size);
  }

  class ReportingPort : public RecordingPort {
   public:
    explicit ReportingPort(int report) : report_(report) {}
    void BringToFront() override {
      if (::write(report_, "F", 1) != 1) ::_exit(3);
    }

   private:
    int report_;
  };

  [[noreturn]] static void Run(const std::string& folder, const std::string& fileName, int control, int report) {
    for (int fd = 3; fd < 1024; ++fd) {
      if (fd != control && fd != report) ::close(fd);  // other windows' pipes stay theirs
    }
    {
      PosixFileSystem fs;
      LocalSocketChannel channel(folder);
      ReportingPort port(report);
      port.fileName = fileName;
      TKervProcessManager manager(channel, port, fs);
      int number = manager.AssignNumber() ? manager.WindowNumber() : -1;
      if (::write(report, &number, sizeof number) != sizeof number) ::_exit(2);
      for (;;) {
        pollfd fds[2] = {{channel.WatchFd(), POLLIN, 0}, {control, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) continue;
        if (fds[0].revents != 0) channel.ServePending();
        char ignored;
        if (fds[1].revents != 0 && ::read(control, &ignored, 1) <= 0) break;
      }
    }
    ::_exit(0);
  }

  pid_t pid_ = -1;
  int control_ = -1;
  int report_ = -1;
  int number_ = -1;
};

class ProcessManagerAcrossProcessesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kervpmXXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    base_ = pattern;
    folder_ = base_ + "/run/";
  }
  void TearDown() override { std::filesystem::remove_all(base_); }
  std::string base_;
  std::string folder_;
  PosixFileSystem fs_;
};

TEST_F(ProcessManagerAcrossProcessesTest, ThreeWindowsDoubleOpenAndAStoppedWindow) {
  ForkedEditor first(folder_, base_ + "/a.txt");
  ForkedEditor second(folder_, base_ + "/b.txt");
  ASSERT_EQ(first.number(), 0);
  ASSERT_EQ(second.number(), 1);

  LocalSocketChannel channel(folder_);
  RecordingPort port;
  TKervProcessManager manager(channel, port, fs_, 300);
  ASSERT_TRUE(manager.AssignNumber());
  EXPECT_EQ(manager.WindowNumber(), 2);
  std::vector<int> numbers;
  for (const auto& entry : manager.Enumerate()) numbers.push_back(entry.WindowNumber);
  EXPECT_EQ(numbers, (std::vector<int>{0, 1, 2}));

  // The double open is refused: the window with the file comes forward.
  auto found = manager.FindWindowWithFile(base_ + "/b.txt");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->WindowNumber, 1);
  EXPECT_EQ(second.NextCall(), 'F');
  EXPECT_FALSE(manager.FindWindowWithFile(base_ + "/c.txt"));

  // A stopped window is no answer; the others still are.
  first.Stop();
  EXPECT_FALSE(manager.FindWindowWithFile(base_ + "/a.txt"));
  found = manager.FindWindowWithFile(base_ + "/b.txt");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->WindowNumber, 1);
  numbers.clear();
  for (const auto& entry : manager.Enumerate()) numbers.push_back(entry.WindowNumber);
  EXPECT_EQ(numbers, (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace kerv
