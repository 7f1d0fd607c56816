#pragma once
// Lets the Qt event loop answer the other windows: when a request waits on
// the channel, the channel serves it between events.

#include <QObject>
#include <QSocketNotifier>

#include "platform/WindowChannel.h"

namespace kerv {

class QtChannelNotifier : public QObject {
 public:
  // Create once the channel is open (its WatchFd is known); the channel must
  // outlive this object. A channel with nothing to watch makes this inert.
  explicit QtChannelNotifier(IWindowChannel& channel, QObject* parent = nullptr);

 private:
  IWindowChannel& channel_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kerv
