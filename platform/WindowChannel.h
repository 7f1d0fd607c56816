#pragma once
// The channel between the editor windows of one user: every window is a
// process with an endpoint named by its window number; a window sends a
// request to another and waits, bounded by a time-out, for its answer.

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kerv {

// The message numbers the windows exchange. The first group keeps the numbers
// of the established protocol; the second group stands in for what a desktop
// without window messages cannot do from another process (bring a window
// forward, read its caption, place it on the screen).
namespace window_message {
constexpr uint32_t kWindowNumber = 0x8210;  // result: the window number, -1 while closing
constexpr uint32_t kDialogState = 0x8140;   // result: the dialog state, 0 while closing
constexpr uint32_t kMinimize = 0x8101;
constexpr uint32_t kRestore = 0x8103;         // restore from minimized
constexpr uint32_t kClose = 0x8102;           // close the window (its save question runs)
constexpr uint32_t kReloadSettings = 0x8110;  // re-read the settings file
constexpr uint32_t kReloadEditModes = 0x8111;
constexpr uint32_t kNone = 0x8201;
constexpr uint32_t kCopyData = 0x004A;  // kind and string, see TWindowMessage

constexpr uint32_t kBringToFront = 0x8220;  // raise and activate the window
constexpr uint32_t kCaption = 0x8221;       // answer data: the window caption
constexpr uint32_t kFileName = 0x8222;      // answer data: the document's full name
// Place the window: wParam = left << 32 | top, lParam = width << 32 | height
// (each a 32-bit signed pixel value), so that the sender can tile or cascade.
constexpr uint32_t kPlaceWindow = 0x8223;
}  // namespace window_message

// Kinds of the copy-data message.
namespace copy_data_kind {
constexpr int64_t kIsFileOpen = 1;   // the string is a file name; result 1 when it is this window's
constexpr int64_t kSearchWord = 3;   // put the word at the top of the search history
constexpr int64_t kReplaceWord = 4;  // the same for the replace history
}  // namespace copy_data_kind

struct TWindowMessage {
  uint32_t message = 0;
  int64_t wParam = 0;
  int64_t lParam = 0;
  // Copy-data only: the kind and the string (system code page; a file name
  // as the window holds it). The receiver reads it up to its first zero byte.
  int64_t kind = 0;
  std::string text;
};

struct TWindowAnswer {
  int64_t result = 0;
  std::string text;  // only the caption and file-name queries fill it
};

// Raised when this window cannot have an endpoint at all (no private folder).
class EWindowChannelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class IWindowChannel {
 public:
  using Handler = std::function<TWindowAnswer(const TWindowMessage&)>;
  virtual ~IWindowChannel() = default;

  // Opens this window's endpoint. choose runs while no other window can open
  // one (two windows starting at once choose one after the other) and returns
  // the wanted number; it may send requests to the peers. When that number is
  // held by a live window the next free one above it is taken; an endpoint
  // left behind by a crashed window is removed. Returns the number opened.
  // Throws EWindowChannelError.
  virtual int Open(const std::function<int()>& choose) = 0;
  // This window's number, -1 while no endpoint is open.
  virtual int Number() const = 0;
  // Removes the endpoint; later requests to this window find nobody.
  virtual void Close() = 0;

  // Numbers of the other windows' endpoints, ascending. Some may belong to
  // windows that no longer answer: only a request tells.
  virtual std::vector<int> ListPeers() = 0;
  // Sends message to the window with that endpoint number and waits at most
  // timeoutMs for the answer, serving requests sent to this window meanwhile
  // (so two windows asking each other at once both get their answers).
  // Nothing (std::nullopt) when the window is gone, hung or stopped.
  virtual std::optional<TWindowAnswer> Send(int peer, const TWindowMessage& message, int timeoutMs) = 0;
  // Hands message to the window and goes on without waiting for its answer
  // (a notice nobody needs an answer to): a hung window cannot hold this one
  // up. False when it could not be handed over at once.
  virtual bool Post(int peer, const TWindowMessage& message) = 0;

  // The handler answers the requests sent to this window.
  virtual void SetHandler(Handler handler) = 0;
  // Answers every request waiting now, without waiting for more.
  virtual void ServePending() = 0;
  // A descriptor that becomes readable when a request waits (for the event
  // loop to call ServePending); -1 when there is none to watch.
  virtual int WatchFd() const = 0;
};

}  // namespace kerv
