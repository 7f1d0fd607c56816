#pragma once
#include <map>
#include <string>

#include "platform/FileLock.h"

namespace kerv {

// Locks of several holders (windows, other programs) in one table, so that
// tests can see what is locked and put another holder's lock in the way.
class FakeLockTable {
 public:
  struct Entry {
    const void* holder;
    int mode;
  };
  std::multimap<std::string, Entry> locks;

  // As another program would: the lock stays until ReleaseOther.
  void LockByOther(const std::string& path, int mode) { locks.insert({path, {this, mode}}); }
  void ReleaseOther(const std::string& path);
  // The mode held on path by holder, or 0.
  int ModeHeld(const std::string& path, const void* holder) const;
  // Whether someone other than holder holds a lock that refuses the access.
  bool Refuses(const std::string& path, const void* holder, int wantedMode) const;
};

class FakeFileLock : public IFileLock {
 public:
  explicit FakeFileLock(FakeLockTable& table) : table_(table) {}
  ~FakeFileLock() override { Unlock(); }

  bool Lock(const std::string& path, int mode) override;
  void Unlock() override;
  bool Held() const override { return !path_.empty(); }
  bool Refused(const std::string& path, bool forWriting) override;

  const std::string& LockedPath() const { return path_; }
  int lockCalls = 0;  // attempts, taken or not

 private:
  FakeLockTable& table_;
  std::string path_;
};

}  // namespace kerv
