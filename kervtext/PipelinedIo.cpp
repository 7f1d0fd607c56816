#include "kervtext/PipelinedIo.h"

#include <utility>

namespace kerv::cli {

bool BlockQueue::Push(std::string block) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return closed_ || blocks_.size() < capacity_; });
  if (closed_) return false;
  blocks_.push_back(std::move(block));
  changed_.notify_all();
  return true;
}

bool BlockQueue::Pop(std::string& block) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return closed_ || !blocks_.empty(); });
  return TakeFront(block);
}

bool BlockQueue::TryPop(std::string& block) {
  std::lock_guard lock(mutex_);
  return TakeFront(block);
}

bool BlockQueue::TakeFront(std::string& block) {
  if (blocks_.empty()) return false;
  block = std::move(blocks_.front());
  blocks_.pop_front();
  changed_.notify_all();
  return true;
}

bool BlockQueue::TryPush(std::string& block) {
  std::lock_guard lock(mutex_);
  if (closed_ || blocks_.size() >= capacity_) return false;
  blocks_.push_back(std::move(block));
  changed_.notify_all();
  return true;
}

void BlockQueue::Close() {
  std::lock_guard lock(mutex_);
  closed_ = true;
  changed_.notify_all();
}

// ---------------------------------------------------------------- reading

ReadAhead::ReadAhead(ReadSome read, size_t blockBytes) {
  thread_ = std::thread([this, read = std::move(read), blockBytes] {
    try {
      for (;;) {
        std::string block;
        if (!spare_.TryPop(block)) block.reserve(blockBytes);
        block.resize(blockBytes);
        size_t got = read(block.data(), block.size());
        if (got == 0) break;
        block.resize(got);
        if (!full_.Push(std::move(block))) break;
      }
    } catch (...) {
      error_ = std::current_exception();  // seen by Next after the queue closes
    }
    full_.Close();
  });
}

ReadAhead::~ReadAhead() {
  full_.Close();
  spare_.Close();
  thread_.join();
}

std::string_view ReadAhead::Next() {
  if (current_.capacity() != 0) spare_.TryPush(current_);
  if (full_.Pop(current_)) return current_;
  if (error_) std::rethrow_exception(error_);
  current_.clear();
  return {};
}

// ---------------------------------------------------------------- writing

WriteBehind::WriteBehind(Write write, size_t blockBytes) : blockBytes_(blockBytes) {
  pending_.reserve(blockBytes_);
  thread_ = std::thread([this, write = std::move(write)] {
    std::string block;
    try {
      while (queue_.Pop(block)) {
        write(block);
        block.clear();
        spare_.TryPush(block);
      }
    } catch (...) {
      std::lock_guard lock(errorMutex_);
      error_ = std::current_exception();
    }
    queue_.Close();  // a failed write stops the producer at its next block
  });
}

WriteBehind::~WriteBehind() { Stop(); }

void WriteBehind::Stop() {
  if (!thread_.joinable()) return;
  queue_.Close();
  thread_.join();
}

void WriteBehind::Send() {
  if (pending_.empty()) return;
  std::string block;
  if (!spare_.TryPop(block)) block.reserve(blockBytes_);
  std::swap(block, pending_);
  if (!queue_.Push(std::move(block))) {
    Stop();
    std::lock_guard lock(errorMutex_);
    if (error_) std::rethrow_exception(error_);
  }
}

void WriteBehind::Put(std::string_view data) {
  if (pending_.size() + data.size() > blockBytes_) Send();
  if (data.size() >= blockBytes_) {
    // A piece as big as a block goes as a block of its own.
    pending_.assign(data);
    Send();
    return;
  }
  pending_.append(data);
}

void WriteBehind::Finish() {
  if (finished_) return;
  finished_ = true;
  Send();
  queue_.Close();  // the writer drains what is queued, then stops
  thread_.join();
  std::lock_guard lock(errorMutex_);
  if (error_) std::rethrow_exception(error_);
}

}  // namespace kerv::cli
