#pragma once
// Several windows in one test: their channels meet on one bus, and a request
// is answered at once by calling the receiver's handler.

#include <map>
#include <vector>

#include "platform/WindowChannel.h"

namespace kerv {

class FakeWindowChannel;

class FakeWindowBus {
 public:
  // What a crashed window leaves behind: an endpoint nobody answers on.
  void AddStaleEndpoint(int number) { endpoints_[number] = nullptr; }
  bool HasEndpoint(int number) const { return endpoints_.count(number) != 0; }
  size_t EndpointCount() const { return endpoints_.size(); }

 private:
  friend class FakeWindowChannel;
  std::map<int, FakeWindowChannel*> endpoints_;  // null: stale
};

class FakeWindowChannel : public IWindowChannel {
 public:
  explicit FakeWindowChannel(FakeWindowBus& bus) : bus_(bus) {}
  ~FakeWindowChannel() override { Close(); }
  FakeWindowChannel(const FakeWindowChannel&) = delete;
  FakeWindowChannel& operator=(const FakeWindowChannel&) = delete;

  // A hung window (stopped, or busy for good): requests to it get no answer.
  void SetHung(bool hung) { hung_ = hung; }
  // The process dies: its endpoint stays behind, stale.
  void Crash();

  // Every request this window answered, in order; every time-out it was asked to wait.
  std::vector<TWindowMessage> received;
  std::vector<int> timeoutsUsed;

  int Open(const std::function<int()>& choose) override;
  int Number() const override { return number_; }
  void Close() override;
  std::vector<int> ListPeers() override;
  std::optional<TWindowAnswer> Send(int peer, const TWindowMessage& message, int timeoutMs) override;
  bool Post(int peer, const TWindowMessage& message) override;
  // Every notice posted, and how many requests waited for an answer.
  std::vector<TWindowMessage> posted;
  void SetHandler(Handler handler) override { handler_ = std::move(handler); }
  void ServePending() override {}
  int WatchFd() const override { return -1; }

 private:
  FakeWindowBus& bus_;
  Handler handler_;
  int number_ = -1;
  bool hung_ = false;
};

}  // namespace kerv
