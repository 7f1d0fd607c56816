#include "platform/fake/FakeWindowChannel.h"

#include <algorithm>

namespace kerv {

void FakeWindowChannel::Crash() {
  if (number_ < 0) return;
  bus_.endpoints_[number_] = nullptr;
  number_ = -1;
}

int FakeWindowChannel::Open(const std::function<int()>& choose) {
  if (number_ >= 0) return number_;
  std::erase_if(bus_.endpoints_, [](const auto& entry) { return entry.second == nullptr; });
  int number = std::max(0, choose ? choose() : 0);
  while (bus_.endpoints_.count(number) != 0) ++number;
  bus_.endpoints_[number] = this;
  number_ = number;
  return number_;
}

void FakeWindowChannel::Close() {
  if (number_ < 0) return;
  auto it = bus_.endpoints_.find(number_);
  if (it != bus_.endpoints_.end() && it->second == this) bus_.endpoints_.erase(it);
  number_ = -1;
}

std::vector<int> FakeWindowChannel::ListPeers() {
  std::vector<int> peers;
  for (const auto& [number, channel] : bus_.endpoints_) {
    if (channel != this) peers.push_back(number);
  }
  return peers;
}

std::optional<TWindowAnswer> FakeWindowChannel::Send(int peer, const TWindowMessage& message, int timeoutMs) {
  timeoutsUsed.push_back(timeoutMs);
  auto it = bus_.endpoints_.find(peer);
  if (it == bus_.endpoints_.end()) return std::nullopt;
  FakeWindowChannel* target = it->second;
  if (target == nullptr) {
    bus_.endpoints_.erase(it);  // refused: the stale endpoint is cleaned up
    return std::nullopt;
  }
  if (target->hung_ || !target->handler_) return std::nullopt;
  target->received.push_back(message);
  try {
    Handler handler = target->handler_;
    return handler(message);
  } catch (...) {
    return std::nullopt;
  }
}

bool FakeWindowChannel::Post(int peer, const TWindowMessage& message) {
  posted.push_back(message);
  auto it = bus_.endpoints_.find(peer);
  if (it == bus_.endpoints_.end() || it->second == nullptr) return false;
  FakeWindowChannel* target = it->second;
  // A hung window's notice stays unread; the sender has gone on already.
  if (target->hung_ || !target->handler_) return true;
  target->received.push_back(message);
  try {
    Handler handler = target->handler_;
    handler(message);
  } catch (...) {
  }
  return true;
}

}  // namespace kerv
