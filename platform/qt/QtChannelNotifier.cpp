#include "platform/qt/QtChannelNotifier.h"

namespace kerv {

QtChannelNotifier::QtChannelNotifier(IWindowChannel& channel, QObject* parent) : QObject(parent), channel_(channel) {
  int fd = channel_.WatchFd();
  if (fd < 0) return;
  notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    // No exception may leave an event handler; the channel itself throws none here.
    try {
      channel_.ServePending();
    } catch (...) {
    }
  });
}

}  // namespace kerv
