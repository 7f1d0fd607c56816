#include "platform/posix/LocalSocketChannel.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include "platform/FileSystem.h"

namespace kerv {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kRequestMagic[4] = {'K', 'R', 'V', 'Q'};
constexpr char kAnswerMagic[4] = {'K', 'R', 'V', 'A'};
constexpr size_t kRequestHeader = 4 + 4 + 8 + 8 + 8 + 4;
constexpr size_t kAnswerHeader = 4 + 8 + 4;
constexpr const char* kEndpointPrefix = "window-";
constexpr const char* kLockName = "lock";
// A client writes its whole request right after connecting; one that does
// not within this time is dropped rather than waited for.
constexpr int kRequestReadMs = 500;
// Bounds one ServePending call so that a flood cannot keep the window from its own work.
constexpr int kMaxServedPerCall = 64;
// How long a notice may take to hand over (it is never waited on after).
constexpr int kPostMs = 250;
// The first number tried after a taken one, at most this many times.
constexpr int kMaxBindAttempts = 1000;

// Owns one descriptor; closes it on every way out.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }
  explicit operator bool() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

void PutU32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
void PutI64(std::string& out, int64_t value) {
  auto bits = static_cast<uint64_t>(value);
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}
uint64_t GetLittle(std::string_view bytes, size_t at, int size) {
  uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
  return value;
}

// Checks the magic and the length of the frame at the start of bytes and takes its text.
TFrameStatus CheckFrame(std::string_view bytes, const char (&magic)[4], size_t header, std::string& text) {
  size_t compared = std::min<size_t>(bytes.size(), 4);
  if (bytes.substr(0, compared) != std::string_view(magic, compared)) return TFrameStatus::Bad;
  if (bytes.size() < header) return TFrameStatus::Incomplete;
  auto length = static_cast<size_t>(GetLittle(bytes, header - 4, 4));
  if (length > kMaxWindowFrameText) return TFrameStatus::Bad;
  if (bytes.size() < header + length) return TFrameStatus::Incomplete;
  text.assign(bytes.substr(header, length));
  return TFrameStatus::Complete;
}

bool MakeAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

int ConnectTo(int fd, const sockaddr_un& address) {
  return ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

UniqueFd NewSocket() { return UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)); }

// The number in an endpoint's name; -1 for any other name.
int EndpointNumber(std::string_view name) {
  std::string_view prefix(kEndpointPrefix);
  if (name.substr(0, prefix.size()) != prefix) return -1;
  std::string_view digits = name.substr(prefix.size());
  if (digits.empty() || digits.size() > 9 || (digits.size() > 1 && digits[0] == '0')) return -1;
  int number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    number = number * 10 + (c - '0');
  }
  return number;
}

int RemainingMs(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, INT_MAX));
}

// The start-up lock: held while a window chooses its number and binds it.
class StartupLock {
 public:
  // Waits at most waitMs; Held() tells whether it was had.
  StartupLock(const std::string& folder, int waitMs) {
    fd_ = UniqueFd(::open((folder + kLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd_) return;
    auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
      if (::flock(fd_.get(), LOCK_EX | LOCK_NB) == 0) {
        held_ = true;
        return;
      }
      if (errno != EWOULDBLOCK && errno != EINTR) return;
      if (Clock::now() >= deadline) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~StartupLock() {
    if (held_) ::flock(fd_.get(), LOCK_UN);
  }
  StartupLock(const StartupLock&) = delete;
  StartupLock& operator=(const StartupLock&) = delete;
  bool Held() const { return held_; }

 private:
  UniqueFd fd_;
  bool held_ = false;
};

}  // namespace

std::string EncodeWindowRequest(const TWindowMessage& message) {
  std::string out(kRequestMagic, 4);
  size_t length = std::min(message.text.size(), kMaxWindowFrameText);
  PutU32(out, message.message);
  PutI64(out, message.wParam);
  PutI64(out, message.lParam);
  PutI64(out, message.kind);
  PutU32(out, static_cast<uint32_t>(length));
  out.append(message.text, 0, length);
  return out;
}

std::string EncodeWindowAnswer(const TWindowAnswer& answer) {
  std::string out(kAnswerMagic, 4);
  size_t length = std::min(answer.text.size(), kMaxWindowFrameText);
  PutI64(out, answer.result);
  PutU32(out, static_cast<uint32_t>(length));
  out.append(answer.text, 0, length);
  return out;
}

TFrameStatus DecodeWindowRequest(std::string_view bytes, TWindowMessage& message) {
  std::string text;
  TFrameStatus status = CheckFrame(bytes, kRequestMagic, kRequestHeader, text);
  if (status != TFrameStatus::Complete) return status;
  message.message = static_cast<uint32_t>(GetLittle(bytes, 4, 4));
  message.wParam = static_cast<int64_t>(GetLittle(bytes, 8, 8));
  message.lParam = static_cast<int64_t>(GetLittle(bytes, 16, 8));
  message.kind = static_cast<int64_t>(GetLittle(bytes, 24, 8));
  message.text = std::move(text);
  return TFrameStatus::Complete;
}

TFrameStatus DecodeWindowAnswer(std::string_view bytes, TWindowAnswer& answer) {
  std::string text;
  TFrameStatus status = CheckFrame(bytes, kAnswerMagic, kAnswerHeader, text);
  if (status != TFrameStatus::Complete) return status;
  answer.result = static_cast<int64_t>(GetLittle(bytes, 4, 8));
  answer.text = std::move(text);
  return TFrameStatus::Complete;
}

LocalSocketChannel::LocalSocketChannel(std::string folder, int lockWaitMs)
    : folder_(folder.empty() ? std::string() : IncludeTrailingSlash(folder)), lockWaitMs_(std::max(0, lockWaitMs)) {}

LocalSocketChannel::~LocalSocketChannel() { Close(); }

std::string LocalSocketChannel::DefaultFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') return IncludeTrailingSlash(runtime) + "kerv/";
  const char* temp = std::getenv("TMPDIR");
  std::string base = (temp != nullptr && temp[0] == '/') ? std::string(temp) : std::string("/tmp");
  return IncludeTrailingSlash(base) + "kerv-" + std::to_string(::geteuid()) + "/";
}

void LocalSocketChannel::EnsurePrivateFolder(const std::string& folder) {
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
    throw EWindowChannelError(path + ": " + std::strerror(errno));
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0) throw EWindowChannelError(path + ": " + std::strerror(errno));
  // Another user could otherwise plant sockets or links where we look for windows.
  if (!S_ISDIR(info.st_mode)) throw EWindowChannelError(path + ": not a folder");
  if (info.st_uid != ::geteuid()) throw EWindowChannelError(path + ": belongs to another user");
  if ((info.st_mode & 077) != 0) throw EWindowChannelError(path + ": open to other users");
}

std::string LocalSocketChannel::EndpointPath(int number) const {
  return folder_ + kEndpointPrefix + std::to_string(number);
}

LocalSocketChannel::TProbe LocalSocketChannel::Probe(const std::string& path) const {
  sockaddr_un address;
  UniqueFd fd = NewSocket();
  if (!fd || !MakeAddress(path, address)) return TProbe::Gone;
  if (ConnectTo(fd.get(), address) == 0) return TProbe::Live;
  int error = errno;
  if (error == ECONNREFUSED) return TProbe::Stale;
  if (error == ENOENT) return TProbe::Gone;
  // A full backlog (EAGAIN) or anything else: someone may be there; keep it.
  return TProbe::Live;
}

void LocalSocketChannel::RemoveStale(const std::string& path, bool lockHeld) {
  if (lockHeld) {
    if (Probe(path) == TProbe::Stale) ::unlink(path.c_str());
    return;
  }
  // Only when no window is starting; otherwise a later look cleans up.
  StartupLock lock(folder_, 0);
  if (lock.Held() && Probe(path) == TProbe::Stale) ::unlink(path.c_str());
}

bool LocalSocketChannel::FolderReady() {
  if (folderChecked_) return true;
  if (folder_.empty()) folder_ = DefaultFolder();
  try {
    EnsurePrivateFolder(folder_);
  } catch (const EWindowChannelError&) {
    return false;
  }
  folderChecked_ = true;
  return true;
}

int LocalSocketChannel::Open(const std::function<int()>& choose) {
  if (listenFd_ >= 0) return number_;
  if (folder_.empty()) folder_ = DefaultFolder();
  EnsurePrivateFolder(folder_);
  folderChecked_ = true;

  StartupLock lock(folder_, lockWaitMs_);
  // Crashed windows' endpoints go first, so that their numbers never count.
  if (lock.Held()) {
    for (int peer : ListPeers()) RemoveStale(EndpointPath(peer), true);
  }
  int number = std::max(0, choose ? choose() : 0);
  for (int attempt = 0; attempt < kMaxBindAttempts && number >= 0; ++attempt) {
    std::string path = EndpointPath(number);
    sockaddr_un address;
    if (!MakeAddress(path, address)) throw EWindowChannelError(path + ": name too long for a socket");
    UniqueFd fd = NewSocket();
    if (!fd) throw EWindowChannelError(std::string("socket: ") + std::strerror(errno));
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
      if (::listen(fd.get(), 64) != 0) {
        int error = errno;
        ::unlink(path.c_str());
        throw EWindowChannelError(path + ": " + std::strerror(error));
      }
      struct stat info;
      if (::stat(path.c_str(), &info) == 0) {
        boundDevice_ = info.st_dev;
        boundInode_ = info.st_ino;
      }
      listenFd_ = fd.release();
      number_ = number;
      return number_;
    }
    if (errno != EADDRINUSE) throw EWindowChannelError(path + ": " + std::strerror(errno));
    // Taken: a live window keeps its number; a dead one's is reused when the lock makes that safe.
    if (lock.Held() && Probe(path) == TProbe::Stale && ::unlink(path.c_str()) == 0) continue;
    number = number == INT_MAX ? -1 : number + 1;
  }
  throw EWindowChannelError(folder_ + ": no free window number");
}

void LocalSocketChannel::Close() {
  if (listenFd_ < 0) return;
  // Remove the name only while it is still our socket.
  std::string path = EndpointPath(number_);
  struct stat info;
  if (::lstat(path.c_str(), &info) == 0 && info.st_dev == boundDevice_ && info.st_ino == boundInode_)
    ::unlink(path.c_str());
  ::close(listenFd_);
  listenFd_ = -1;
  number_ = -1;
}

std::vector<int> LocalSocketChannel::ListPeers() {
  std::vector<int> peers;
  if (!FolderReady()) return peers;
  DIR* dir = ::opendir(folder_.c_str());
  if (dir == nullptr) return peers;
  while (dirent* entry = ::readdir(dir)) {
    int number = EndpointNumber(entry->d_name);
    if (number >= 0 && !(listenFd_ >= 0 && number == number_)) peers.push_back(number);
  }
  ::closedir(dir);
  std::sort(peers.begin(), peers.end());
  return peers;
}

bool LocalSocketChannel::WaitServing(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    pollfd fds[2] = {{fd, events, 0}, {listenFd_, POLLIN, 0}};
    int ready = ::poll(fds, 2, RemainingMs(deadline));
    if (ready < 0 && errno != EINTR) return false;
    // Requests first: a window that asked us may be waiting for us alone.
    if (ready > 0 && (fds[1].revents & POLLIN) != 0) ServePending();
    if (ready > 0 && fds[0].revents != 0) return true;
    if (Clock::now() >= deadline) return false;
  }
}

int LocalSocketChannel::Deliver(int peer, const TWindowMessage& message, Clock::time_point deadline) {
  // Nothing is sent into a folder that others could have prepared.
  if (!FolderReady()) return -1;
  std::string path = EndpointPath(peer);
  sockaddr_un address;
  UniqueFd fd = NewSocket();
  if (!fd || !MakeAddress(path, address)) return -1;

  for (;;) {
    if (ConnectTo(fd.get(), address) == 0) break;
    int error = errno;
    if (error == ECONNREFUSED) {
      RemoveStale(path, false);
      return -1;
    }
    if (error == EINPROGRESS) {
      int result = 0;
      socklen_t size = sizeof result;
      if (!WaitServing(fd.get(), POLLOUT, deadline)) return -1;
      if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &result, &size) != 0 || result != 0) return -1;
      break;
    }
    // A full backlog: the window is there but slow; try again until the time is up.
    if (error != EAGAIN && error != EINTR) return -1;
    WaitServing(-1, 0, std::min(deadline, Clock::now() + std::chrono::milliseconds(10)));
    if (Clock::now() >= deadline) return -1;
  }

  std::string frame = EncodeWindowRequest(message);
  size_t sent = 0;
  while (sent < frame.size()) {
    ssize_t count = ::send(fd.get(), frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
    if (count > 0) {
      sent += static_cast<size_t>(count);
    } else if (count < 0 && errno == EAGAIN) {
      if (!WaitServing(fd.get(), POLLOUT, deadline)) return -1;
    } else if (!(count < 0 && errno == EINTR)) {
      return -1;
    }
  }
  return fd.release();
}

bool LocalSocketChannel::Post(int peer, const TWindowMessage& message) {
  // Only the hand-over may take a moment; the answer is never waited for.
  UniqueFd fd(Deliver(peer, message, Clock::now() + std::chrono::milliseconds(kPostMs)));
  return static_cast<bool>(fd);
}

std::optional<TWindowAnswer> LocalSocketChannel::Send(int peer, const TWindowMessage& message, int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
  UniqueFd fd(Deliver(peer, message, deadline));
  if (!fd) return std::nullopt;

  std::string received;
  for (;;) {
    TWindowAnswer answer;
    TFrameStatus status = DecodeWindowAnswer(received, answer);
    if (status == TFrameStatus::Complete) return answer;
    if (status == TFrameStatus::Bad) return std::nullopt;
    if (!WaitServing(fd.get(), POLLIN, deadline)) return std::nullopt;
    char chunk[4096];
    ssize_t count = ::recv(fd.get(), chunk, sizeof chunk, 0);
    if (count > 0) {
      received.append(chunk, static_cast<size_t>(count));
    } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
      return std::nullopt;  // the window closed the connection without an answer
    }
  }
}

void LocalSocketChannel::ServePending() {
  for (int served = 0; listenFd_ >= 0 && served < kMaxServedPerCall; ++served) {
    UniqueFd connection(::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!connection) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;
    }
    ServeConnection(connection.get());
  }
}

void LocalSocketChannel::ServeConnection(int fd) {
  auto deadline = Clock::now() + std::chrono::milliseconds(kRequestReadMs);
  std::string received;
  TWindowMessage message;
  for (;;) {
    TFrameStatus status = DecodeWindowRequest(received, message);
    if (status == TFrameStatus::Complete) break;
    if (status == TFrameStatus::Bad) return;
    pollfd ready = {fd, POLLIN, 0};
    if (::poll(&ready, 1, RemainingMs(deadline)) <= 0 && Clock::now() >= deadline) return;
    char chunk[4096];
    ssize_t count = ::recv(fd, chunk, sizeof chunk, 0);
    if (count > 0) {
      received.append(chunk, static_cast<size_t>(count));
    } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
      return;
    }
  }
  if (!handler_) return;  // not ready to answer: the sender sees no answer
  TWindowAnswer answer;
  try {
    // Copied: the handler may replace itself while it runs.
    Handler handler = handler_;
    answer = handler(message);
  } catch (...) {
    return;  // a failing handler gives no answer; the window goes on
  }
  std::string frame = EncodeWindowAnswer(answer);
  size_t sent = 0;
  while (sent < frame.size()) {
    ssize_t count = ::send(fd, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
    if (count > 0) {
      sent += static_cast<size_t>(count);
      continue;
    }
    if (count < 0 && errno == EINTR) continue;
    pollfd ready = {fd, POLLOUT, 0};
    if (count == 0 || errno != EAGAIN || ::poll(&ready, 1, RemainingMs(deadline)) <= 0) return;
  }
}

}  // namespace kerv
