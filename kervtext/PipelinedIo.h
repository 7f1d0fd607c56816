#pragma once
// Reading and writing on threads of their own, so that on a machine with two
// cores the conversion runs while the kernel copies the bytes in and out.
// Both hold a few blocks at most: the memory used does not grow with the file.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace kerv::cli {

// A queue of blocks between two threads, holding at most capacity of them.
class BlockQueue {
 public:
  explicit BlockQueue(size_t capacity) : capacity_(capacity) {}

  // False when the other side has stopped.
  bool Push(std::string block);
  // False once the queue is closed and empty.
  bool Pop(std::string& block);
  // Without waiting: false when there is no block, or no room.
  bool TryPop(std::string& block);
  bool TryPush(std::string& block);
  // No more blocks; waiting sides wake.
  void Close();

 private:
  bool TakeFront(std::string& block);  // with mutex_ held

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::string> blocks_;
  size_t capacity_;
  bool closed_ = false;
};

// Reads a descriptor ahead of its use, a block at a time.
class ReadAhead {
 public:
  using ReadSome = std::function<size_t(char* data, size_t size)>;  // 0 at the end; throws on an error

  ReadAhead(ReadSome read, size_t blockBytes);
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The next block, valid until the next call; empty at the end. A read
  // error of the thread is thrown here.
  std::string_view Next();

 private:
  BlockQueue full_{3};
  BlockQueue spare_{4};  // blocks used up, to be filled again (fresh memory costs page faults)
  std::string current_;
  std::exception_ptr error_;
  std::thread thread_;
};

// Writes what it is given on a thread, in blocks of about blockBytes.
class WriteBehind {
 public:
  using Write = std::function<void(std::string_view)>;  // throws on an error

  WriteBehind(Write write, size_t blockBytes);
  ~WriteBehind();
  WriteBehind(const WriteBehind&) = delete;
  WriteBehind& operator=(const WriteBehind&) = delete;

  void Put(std::string_view data);
  // Everything written; a write error of the thread is thrown here (or at
  // the first Put after it).
  void Finish();

 private:
  void Send();
  void Stop();

  BlockQueue queue_{3};
  BlockQueue spare_{4};  // blocks written, to be filled again
  std::string pending_;
  size_t blockBytes_;
  std::exception_ptr error_;
  std::mutex errorMutex_;
  std::thread thread_;
  bool finished_ = false;
};

}  // namespace kerv::cli
