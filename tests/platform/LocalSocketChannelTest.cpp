#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

#include "platform/posix/LocalSocketChannel.h"

namespace kerv {
namespace {

namespace msg = window_message;

TWindowMessage Request(uint32_t message) {
  TWindowMessage request;
  request.message = message;
  return request;
}

// A window's number choice as the application makes it: one above the largest answer.
int ChooseAfterPeers(IWindowChannel& channel) {
  int largest = -1;
  for (int peer : channel.ListPeers()) {
    auto answer = channel.Send(peer, Request(msg::kWindowNumber), 2000);
    if (answer && answer->result >= 0) largest = std::max(largest, static_cast<int>(answer->result));
  }
  return largest + 1;
}

// Answers the number query with its endpoint and the file query for one name.
IWindowChannel::Handler WindowHandler(IWindowChannel& channel, std::string fileName) {
  return [&channel, fileName](const TWindowMessage& message) {
    TWindowAnswer answer;
    if (message.message == msg::kWindowNumber) answer.result = channel.Number();
    if (message.message == msg::kCopyData && message.kind == copy_data_kind::kIsFileOpen)
      answer.result = message.text == fileName ? 1 : 0;
    return answer;
  };
}

// An editor window in a process of its own. It reports its number on start,
// answers requests until its control pipe closes (then removes its endpoint
// and ends), and on the command 'a' asks window `peer` for its number and
// reports the answer (-2 for none).
class ChildWindow {
 public:
  ChildWindow(const std::string& folder, std::string fileName = std::string(), int peer = -1) {
    int control[2], report[2];
    if (::pipe(control) != 0 || ::pipe(report) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(control[1]);
      ::close(report[0]);
      RunChild(folder, fileName, peer, control[0], report[1]);
    }
    ::close(control[0]);
    ::close(report[1]);
    control_ = control[1];
    report_ = report[0];
  }
  ~ChildWindow() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGCONT);
    if (control_ >= 0) ::close(control_);
    int status = 0;
    for (int i = 0; i < 500 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i) ::usleep(10000);
    if (::waitpid(pid_, &status, WNOHANG) == 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
    }
    ::close(report_);
  }
  ChildWindow(const ChildWindow&) = delete;
  ChildWindow& operator=(const ChildWindow&) = delete;

  // Waits for the start to finish (the first call only).
  int number() {
    if (number_ == -3) number_ = ReadReport();
    return number_;
  }
  pid_t pid() const { return pid_; }
  void Command(char command) { ASSERT_EQ(::write(control_, &command, 1), 1); }
  // Ends the window as it ends normally: its endpoint goes away.
  void Quit() {
    ::close(control_);
    control_ = -1;
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }
  // Ends it as a crash does: the endpoint stays behind.
  void Kill() {
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }
  // The next number the child reports; a guard against a lost child, not a timing check.
  int ReadReport() {
    pollfd ready = {report_, POLLIN, 0};
    int value = -3;
    if (::poll(&ready, 1, 20000) == 1 && ::read(report_, &value, sizeof value) == sizeof value) return value;
    return -3;
  }
  // The same while window goes on serving the requests sent to it, as its
  // event loop does between its own requests.
  int ReadReportServing(LocalSocketChannel& window) {
    for (int round = 0; round < 200; ++round) {
      pollfd fds[2] = {{report_, POLLIN, 0}, {window.WatchFd(), POLLIN, 0}};
      if (::poll(fds, 2, 100) < 0) continue;
      if (fds[1].revents != 0) window.ServePending();
      if (fds[0].revents != 0) return ReadReport();
    }
    return -3;
  }

 private:
  [[noreturn]] static void RunChild(const std::string& folder, const std::string& fileName, int peer, int control,
                                    int report) {
    // Earlier windows' pipes and sockets are not this window's to hold open.
    for (int fd = 3; fd < 1024; ++fd) {
      if (fd != control && fd != report) ::close(fd);
    }
    int code = 0;
    try {
      LocalSocketChannel channel(folder);
      channel.SetHandler(WindowHandler(channel, fileName));
      int number = channel.Open([&channel] { return ChooseAfterPeers(channel); });
      if (::write(report, &number, sizeof number) != sizeof number) ::_exit(2);
      for (;;) {
        pollfd fds[2] = {{channel.WatchFd(), POLLIN, 0}, {control, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) continue;
        if (fds[0].revents != 0) channel.ServePending();
        if (fds[1].revents == 0) continue;
        char command = 0;
        if (::read(control, &command, 1) != 1) break;
        if (command == 'a') {
          auto answer = channel.Send(peer, Request(msg::kWindowNumber), 10000);
          int value = answer ? static_cast<int>(answer->result) : -2;
          if (::write(report, &value, sizeof value) != sizeof value) ::_exit(2);
        }
      }
      channel.Close();
    } catch (...) {
      code = 1;
    }
    ::_exit(code);
  }

  pid_t pid_ = -1;
  int control_ = -1;
  int report_ = -1;
  int number_ = -3;
};

// A window started and settled with its number.
std::unique_ptr<ChildWindow> StartWindow(const std::string& folder, std::string fileName = std::string(),
                                         int peer = -1) {
  auto window = std::make_unique<ChildWindow>(folder, std::move(fileName), peer);
  window->number();
  return window;
}

class LocalSocketChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kervchXXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    base_ = pattern;
    folder_ = base_ + "/run/";
  }
  void TearDown() override { std::filesystem::remove_all(base_); }
  // Window 0 running; window 1 crashed, its endpoint left behind.
  std::unique_ptr<ChildWindow> StartWithCrashedSecond() {
    auto first = StartWindow(folder_);
    auto crashed = StartWindow(folder_);
    EXPECT_EQ(crashed->number(), 1);
    crashed->Kill();
    return first;
  }
  bool EndpointExists(const LocalSocketChannel& channel, int number) const {
    struct stat info;
    return ::lstat(channel.EndpointPath(number).c_str(), &info) == 0;
  }
  std::string base_;
  std::string folder_;
};

// --- Frames ---

TEST(WindowFrameTest, RequestsAndAnswersRoundTripAtEveryLength) {
  const std::vector<TWindowMessage> requests = {
      {msg::kWindowNumber, 0, 0, 0, ""},
      {msg::kCopyData, -1, INT64_MIN, copy_data_kind::kIsFileOpen, "/home/u/\x83\x65\x83\x58\x83\x67.txt"},
      {msg::kPlaceWindow, (int64_t{10} << 32) | 20, (int64_t{640} << 32) | 480, 0, std::string("a\0b", 3)},
  };
  for (const auto& request : requests) {
    std::string frame = EncodeWindowRequest(request);
    for (size_t cut = 0; cut < frame.size(); ++cut) {
      TWindowMessage partial;
      EXPECT_EQ(DecodeWindowRequest(std::string_view(frame).substr(0, cut), partial), TFrameStatus::Incomplete) << cut;
    }
    TWindowMessage decoded;
    ASSERT_EQ(DecodeWindowRequest(frame + "trailing", decoded), TFrameStatus::Complete);
    EXPECT_EQ(decoded.message, request.message);
    EXPECT_EQ(decoded.wParam, request.wParam);
    EXPECT_EQ(decoded.lParam, request.lParam);
    EXPECT_EQ(decoded.kind, request.kind);
    EXPECT_EQ(decoded.text, request.text);
  }
  TWindowAnswer answer{-1, "caption - KervEditor"};
  TWindowAnswer decoded;
  ASSERT_EQ(DecodeWindowAnswer(EncodeWindowAnswer(answer), decoded), TFrameStatus::Complete);
  EXPECT_EQ(decoded.result, -1);
  EXPECT_EQ(decoded.text, answer.text);
}

TEST(WindowFrameTest, ForeignOrOversizedFramesAreRefused) {
  TWindowMessage message;
  TWindowAnswer answer;
  EXPECT_EQ(DecodeWindowRequest("GET / HTTP/1.0\r\n", message), TFrameStatus::Bad);
  EXPECT_EQ(DecodeWindowRequest("K", message), TFrameStatus::Incomplete);
  EXPECT_EQ(DecodeWindowRequest("KX", message), TFrameStatus::Bad);
  // An answer is not a request and the other way round.
  EXPECT_EQ(DecodeWindowRequest(EncodeWindowAnswer({}), message), TFrameStatus::Bad);
  EXPECT_EQ(DecodeWindowAnswer(EncodeWindowRequest({}), answer), TFrameStatus::Bad);
  // A length beyond the limit is refused before anything is waited for.
  std::string frame = EncodeWindowRequest({});
  frame.replace(frame.size() - 4, 4, std::string("\xff\xff\xff\x7f", 4));
  EXPECT_EQ(DecodeWindowRequest(frame, message), TFrameStatus::Bad);
  // Texts are cut at the limit when sent.
  TWindowMessage big;
  big.text.assign(kMaxWindowFrameText + 10, 'x');
  ASSERT_EQ(DecodeWindowRequest(EncodeWindowRequest(big), message), TFrameStatus::Complete);
  EXPECT_EQ(message.text.size(), kMaxWindowFrameText);
}

// --- The private folder ---

TEST_F(LocalSocketChannelTest, FolderIsMadePrivateAndForeignOnesAreRefused) {
  LocalSocketChannel::EnsurePrivateFolder(folder_);
  struct stat info;
  ASSERT_EQ(::stat(folder_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  LocalSocketChannel::EnsurePrivateFolder(folder_);  // an existing private folder is fine

  std::string open = base_ + "/open";
  ASSERT_EQ(::mkdir(open.c_str(), 0700), 0);
  ASSERT_EQ(::chmod(open.c_str(), 0755), 0);
  EXPECT_THROW(LocalSocketChannel::EnsurePrivateFolder(open), EWindowChannelError);

  std::string link = base_ + "/link";
  ASSERT_EQ(::symlink(folder_.c_str(), link.c_str()), 0);
  EXPECT_THROW(LocalSocketChannel::EnsurePrivateFolder(link), EWindowChannelError);

  std::string file = base_ + "/file";
  ASSERT_EQ(::close(::creat(file.c_str(), 0600)), 0);
  EXPECT_THROW(LocalSocketChannel::EnsurePrivateFolder(file), EWindowChannelError);

  // Nothing in a folder others could have prepared is listed or asked.
  ::close(::creat((open + "/window-3").c_str(), 0600));
  LocalSocketChannel channel(open);
  EXPECT_TRUE(channel.ListPeers().empty());
  EXPECT_FALSE(channel.Send(3, Request(msg::kWindowNumber), 100));
  EXPECT_THROW(channel.Open(nullptr), EWindowChannelError);
  EXPECT_EQ(channel.Number(), -1);
}

TEST(LocalSocketChannelFolderTest, DefaultFolderPrefersTheRuntimeFolder) {
  std::string savedRuntime = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
  std::string savedTemp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
  std::string uid = std::to_string(::geteuid());

  ::setenv("XDG_RUNTIME_DIR", "/run/user/77", 1);
  EXPECT_EQ(LocalSocketChannel::DefaultFolder(), "/run/user/77/kerv/");
  ::unsetenv("XDG_RUNTIME_DIR");
  ::setenv("TMPDIR", "/var/tmp/", 1);
  EXPECT_EQ(LocalSocketChannel::DefaultFolder(), "/var/tmp/kerv-" + uid + "/");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(LocalSocketChannel::DefaultFolder(), "/tmp/kerv-" + uid + "/");

  if (!savedRuntime.empty()) ::setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
  if (!savedTemp.empty()) ::setenv("TMPDIR", savedTemp.c_str(), 1);
}

// --- One process ---

TEST_F(LocalSocketChannelTest, FirstWindowIsZeroAndAnswersItself) {
  LocalSocketChannel channel(folder_);
  channel.SetHandler(WindowHandler(channel, "/a.txt"));
  EXPECT_EQ(channel.Open([&] { return ChooseAfterPeers(channel); }), 0);
  EXPECT_EQ(channel.Open(nullptr), 0);  // opening twice keeps the endpoint
  EXPECT_TRUE(channel.ListPeers().empty());
  // Waiting serves this window's own requests, so even a request to itself is answered.
  auto answer = channel.Send(0, Request(msg::kWindowNumber), 5000);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->result, 0);

  channel.Close();
  EXPECT_FALSE(EndpointExists(channel, 0));
  EXPECT_EQ(channel.WatchFd(), -1);
}

TEST_F(LocalSocketChannelTest, APostedNoticeWaitsForNobody) {
  LocalSocketChannel sender(folder_);
  LocalSocketChannel receiver(folder_);
  std::vector<TWindowMessage> got;
  receiver.SetHandler([&got](const TWindowMessage& message) {
    got.push_back(message);
    return TWindowAnswer{7, "ignored"};
  });
  sender.SetHandler(WindowHandler(sender, ""));
  ASSERT_EQ(sender.Open([] { return 0; }), 0);
  ASSERT_EQ(receiver.Open([] { return 1; }), 1);
  // The receiver is busy (serves nothing now): the notice is handed over all the same.
  TWindowMessage notice = Request(msg::kCopyData);
  notice.kind = copy_data_kind::kSearchWord;
  notice.text = "word";
  EXPECT_TRUE(sender.Post(1, notice));
  EXPECT_TRUE(got.empty());
  // Later it reads it; its answer goes to nobody, and nothing breaks.
  receiver.ServePending();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].text, "word");
  EXPECT_FALSE(sender.Post(5, notice));  // nobody there
}

TEST_F(LocalSocketChannelTest, FailingOrMissingHandlerGivesNoAnswer) {
  LocalSocketChannel channel(folder_);
  channel.Open(nullptr);
  EXPECT_FALSE(channel.Send(0, Request(msg::kWindowNumber), 5000));
  channel.SetHandler([](const TWindowMessage&) -> TWindowAnswer { throw std::runtime_error("broken"); });
  EXPECT_FALSE(channel.Send(0, Request(msg::kWindowNumber), 5000));
  // Nobody there at all.
  EXPECT_FALSE(channel.Send(7, Request(msg::kWindowNumber), 5000));
}

TEST_F(LocalSocketChannelTest, ForeignNamesInTheFolderAreNoPeers) {
  LocalSocketChannel::EnsurePrivateFolder(folder_);
  for (const char* name : {"window-", "window-01", "window-x", "windows-3", "lock", "window-1234567890"})
    ::close(::creat((folder_ + name).c_str(), 0600));
  LocalSocketChannel channel(folder_);
  EXPECT_TRUE(channel.ListPeers().empty());
  EXPECT_EQ(channel.Open(nullptr), 0);
}

// --- Several processes ---

TEST_F(LocalSocketChannelTest, ThreeWindowsAreNumberedAndAClosedNumberIsFreed) {
  auto first = StartWindow(folder_);
  auto second = StartWindow(folder_);
  auto third = StartWindow(folder_);
  EXPECT_EQ(first->number(), 0);
  EXPECT_EQ(second->number(), 1);
  EXPECT_EQ(third->number(), 2);

  LocalSocketChannel channel(folder_);
  EXPECT_EQ(channel.ListPeers(), (std::vector<int>{0, 1, 2}));

  // The newest window closes: the largest running number is 1 again.
  third->Quit();
  EXPECT_EQ(channel.ListPeers(), (std::vector<int>{0, 1}));
  auto again = StartWindow(folder_);
  EXPECT_EQ(again->number(), 2);

  // A window in the middle closes: numbers keep growing past the largest.
  second->Quit();
  EXPECT_EQ(StartWindow(folder_)->number(), 3);
}

TEST_F(LocalSocketChannelTest, StaleEndpointOfACrashedWindowIsRemovedAndItsNumberReused) {
  auto first = StartWithCrashedSecond();
  LocalSocketChannel channel(folder_);
  EXPECT_EQ(channel.ListPeers(), (std::vector<int>{0, 1}));  // still there, nobody listening
  channel.SetHandler(WindowHandler(channel, ""));
  EXPECT_EQ(channel.Open([&] { return ChooseAfterPeers(channel); }), 1);
  EXPECT_TRUE(channel.ListPeers() == std::vector<int>{0});
  auto answer = channel.Send(0, Request(msg::kWindowNumber), 5000);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->result, 0);
}

TEST_F(LocalSocketChannelTest, StaleEndpointIsRemovedWhenARequestIsRefused) {
  auto first = StartWithCrashedSecond();
  LocalSocketChannel channel(folder_);
  EXPECT_FALSE(channel.Send(1, Request(msg::kWindowNumber), 5000));
  EXPECT_FALSE(EndpointExists(channel, 1));
}

TEST_F(LocalSocketChannelTest, StoppedWindowGivesNoAnswerAndKeepsItsNumber) {
  auto first = StartWindow(folder_);
  auto stopped = StartWindow(folder_);
  ASSERT_EQ(stopped->number(), 1);
  ASSERT_EQ(::kill(stopped->pid(), SIGSTOP), 0);

  LocalSocketChannel channel(folder_);
  EXPECT_FALSE(channel.Send(1, Request(msg::kWindowNumber), 200));
  auto answer = channel.Send(0, Request(msg::kWindowNumber), 5000);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->result, 0);
  // A stopped window is not dead: its endpoint stays and its number is not handed out again.
  EXPECT_TRUE(EndpointExists(channel, 1));
  channel.SetHandler(WindowHandler(channel, ""));
  EXPECT_EQ(channel.Open([&] { return ChooseAfterPeers(channel); }), 2);

  ASSERT_EQ(::kill(stopped->pid(), SIGCONT), 0);
  answer = channel.Send(1, Request(msg::kWindowNumber), 10000);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->result, 1);
}

TEST_F(LocalSocketChannelTest, TwoWindowsAskingEachOtherAtOnceBothGetAnswers) {
  LocalSocketChannel channel(folder_);
  channel.SetHandler(WindowHandler(channel, ""));
  ASSERT_EQ(channel.Open(nullptr), 0);
  auto other = StartWindow(folder_, "", 0);
  ASSERT_EQ(other->number(), 1);
  // The child asks this window and waits; once its request is here, this
  // window asks the child in turn, before it has answered.
  other->Command('a');
  pollfd arrived = {channel.WatchFd(), POLLIN, 0};
  ASSERT_EQ(::poll(&arrived, 1, 20000), 1);
  auto answer = channel.Send(1, Request(msg::kWindowNumber), 10000);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->result, 1);
  // The child's request may still be half read when this window's answer
  // comes; it is served on the next round, as the event loop would.
  EXPECT_EQ(other->ReadReportServing(channel), 0);
}

TEST_F(LocalSocketChannelTest, ClientThatSendsNothingOrGarbageDoesNotBlockTheWindow) {
  auto window = StartWindow(folder_, "/doc.txt");
  LocalSocketChannel channel(folder_);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::string path = channel.EndpointPath(0);
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  int silent = ::socket(AF_UNIX, SOCK_STREAM, 0);
  int garbage = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(::connect(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::connect(garbage, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::write(garbage, "hello there", 11), 11);

  TWindowMessage ask;
  ask.message = msg::kCopyData;
  ask.kind = copy_data_kind::kIsFileOpen;
  ask.text = "/doc.txt";
  auto answer = channel.Send(0, ask, 10000);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->result, 1);
  ask.text = "/DOC.txt";
  answer = channel.Send(0, ask, 10000);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->result, 0);
  ::close(silent);
  ::close(garbage);
}

TEST_F(LocalSocketChannelTest, WindowsStartingAtOnceGetNumbersOfTheirOwn) {
  auto first = StartWindow(folder_);
  std::vector<std::unique_ptr<ChildWindow>> started;
  // Forked one after the other without waiting: their starts overlap.
  for (int i = 0; i < 4; ++i) started.push_back(std::make_unique<ChildWindow>(folder_));
  std::vector<int> numbers;
  for (const auto& window : started) numbers.push_back(window->number());
  std::sort(numbers.begin(), numbers.end());
  EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace kerv
