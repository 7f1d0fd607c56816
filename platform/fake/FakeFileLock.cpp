#include "platform/fake/FakeFileLock.h"

namespace kerv {

void FakeLockTable::ReleaseOther(const std::string& path) {
  for (auto it = locks.lower_bound(path); it != locks.end() && it->first == path;) {
    it = it->second.holder == this ? locks.erase(it) : std::next(it);
  }
}

int FakeLockTable::ModeHeld(const std::string& path, const void* holder) const {
  for (auto it = locks.lower_bound(path); it != locks.end() && it->first == path; ++it) {
    if (it->second.holder == holder) return it->second.mode;
  }
  return 0;
}

bool FakeLockTable::Refuses(const std::string& path, const void* holder, int wantedMode) const {
  // Shared (2) goes with shared; exclusive (3) goes with nothing.
  for (auto it = locks.lower_bound(path); it != locks.end() && it->first == path; ++it) {
    if (it->second.holder == holder) continue;
    if (it->second.mode == IFileLock::lmDenyAll || wantedMode == IFileLock::lmDenyAll) return true;
  }
  return false;
}

bool FakeFileLock::Lock(const std::string& path, int mode) {
  Unlock();
  ++lockCalls;
  if (mode != lmDenyWrite && mode != lmDenyAll) return false;
  if (table_.Refuses(path, this, mode)) return false;
  table_.locks.insert({path, {this, mode}});
  path_ = path;
  return true;
}

void FakeFileLock::Unlock() {
  if (path_.empty()) return;
  for (auto it = table_.locks.lower_bound(path_); it != table_.locks.end() && it->first == path_;) {
    it = it->second.holder == this ? table_.locks.erase(it) : std::next(it);
  }
  path_.clear();
}

bool FakeFileLock::Refused(const std::string& path, bool forWriting) {
  return table_.Refuses(path, this, forWriting ? lmDenyAll : lmDenyWrite);
}

}  // namespace kerv
