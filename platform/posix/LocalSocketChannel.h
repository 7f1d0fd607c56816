#pragma once
// The window channel over local stream sockets: one socket per window,
// named "window-<number>", in a folder that only this user can enter.

#include <chrono>
#include <string>
#include <string_view>

#include "platform/WindowChannel.h"

namespace kerv {

// The frames on the wire, little-endian:
//   request: "KRVQ", message u32, wParam i64, lParam i64, kind i64, text length u32, text bytes
//   answer:  "KRVA", result i64, text length u32, text bytes
// Other programs of this user may write them too, so decoding trusts nothing.
constexpr size_t kMaxWindowFrameText = 64 * 1024;
enum class TFrameStatus { Complete, Incomplete, Bad };
std::string EncodeWindowRequest(const TWindowMessage& message);
std::string EncodeWindowAnswer(const TWindowAnswer& answer);
// Complete fills the result from the frame at the start of bytes; Incomplete
// asks for more bytes; Bad for a frame that is not ours or too long.
TFrameStatus DecodeWindowRequest(std::string_view bytes, TWindowMessage& message);
TFrameStatus DecodeWindowAnswer(std::string_view bytes, TWindowAnswer& answer);

class LocalSocketChannel : public IWindowChannel {
 public:
  // folder: where the endpoints live (trailing '/' optional); empty takes
  // DefaultFolder(). lockWaitMs bounds the wait for a window that holds the
  // start-up lock and does not let go (stopped while starting): after it
  // the endpoint is opened without the lock, still under a number of its own.
  explicit LocalSocketChannel(std::string folder = std::string(), int lockWaitMs = 5000);
  ~LocalSocketChannel() override;
  LocalSocketChannel(const LocalSocketChannel&) = delete;
  LocalSocketChannel& operator=(const LocalSocketChannel&) = delete;

  // $XDG_RUNTIME_DIR/kerv/, or without it kerv-<uid>/ in $TMPDIR or /tmp.
  static std::string DefaultFolder();
  // Creates the folder (mode 0700, one level) when missing and refuses one
  // that is a link, not a folder, another user's, or open to others.
  // Throws EWindowChannelError.
  static void EnsurePrivateFolder(const std::string& folder);

  const std::string& Folder() const { return folder_; }
  std::string EndpointPath(int number) const;

  int Open(const std::function<int()>& choose) override;
  int Number() const override { return number_; }
  void Close() override;
  std::vector<int> ListPeers() override;
  std::optional<TWindowAnswer> Send(int peer, const TWindowMessage& message, int timeoutMs) override;
  bool Post(int peer, const TWindowMessage& message) override;
  void SetHandler(Handler handler) override { handler_ = std::move(handler); }
  void ServePending() override;
  int WatchFd() const override { return listenFd_; }

 private:
  enum class TProbe { Live, Stale, Gone };
  // Checks the folder once (creating it when missing); false for a folder
  // that is not ours, which is then never listed nor sent into.
  bool FolderReady();
  TProbe Probe(const std::string& path) const;
  // Removes an endpoint nobody listens on. Only under the start-up lock, so
  // that it can never be a new window's socket bound a moment ago.
  void RemoveStale(const std::string& path, bool lockHeld);
  void ServeConnection(int fd);
  // Waits until fd is ready for events (fd -1: only the time), answering
  // this window's own requests meanwhile; false at the deadline.
  bool WaitServing(int fd, short events, std::chrono::steady_clock::time_point deadline);
  // Connects to a peer and hands the request over; the open connection (to
  // read the answer from), or -1.
  int Deliver(int peer, const TWindowMessage& message, std::chrono::steady_clock::time_point deadline);

  std::string folder_;
  int lockWaitMs_;
  bool folderChecked_ = false;
  int listenFd_ = -1;
  int number_ = -1;
  unsigned long long boundDevice_ = 0;
  unsigned long long boundInode_ = 0;
  Handler handler_;
};

}  // namespace kerv
