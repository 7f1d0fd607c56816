#pragma once
#include "platform/FileLock.h"

namespace kerv {

// flock() on a descriptor held open for the lock's lifetime: a shared lock
// for lmDenyWrite (writers ask for an exclusive one), an exclusive lock for
// lmDenyAll (readers ask for a shared one).
class PosixFileLock : public IFileLock {
 public:
  PosixFileLock() = default;
  ~PosixFileLock() override { Unlock(); }
  PosixFileLock(const PosixFileLock&) = delete;
  PosixFileLock& operator=(const PosixFileLock&) = delete;

  bool Lock(const std::string& path, int mode) override;
  void Unlock() override;
  bool Held() const override { return fd_ >= 0; }
  bool Refused(const std::string& path, bool forWriting) override;

 private:
  int fd_ = -1;
};

}  // namespace kerv
