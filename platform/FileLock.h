#pragma once
// The lock that keeps other programs off the document a window has open.
// On Linux the locks are advisory: programs that do not ask for a lock are
// not stopped by one, which the change check on activation covers.

#include <string>

namespace kerv {

class IFileLock {
 public:
  // Lock modes as the settings store them.
  enum Mode { lmNone = 0, lmDenyWrite = 2, lmDenyAll = 3 };

  virtual ~IFileLock() = default;
  // Releases any held lock, then takes one of mode on path: lmDenyWrite lets
  // others read but not write, lmDenyAll lets them do nothing; any other mode
  // takes none. False (nothing held) when the file cannot be opened or
  // another holder's lock is in the way.
  virtual bool Lock(const std::string& path, int mode) = 0;
  virtual void Unlock() = 0;
  virtual bool Held() const = 0;
  // Whether a lock held elsewhere refuses reading (or writing) path. A
  // caller that holds a lock on path itself releases it first.
  virtual bool Refused(const std::string& path, bool forWriting) = 0;
};

}  // namespace kerv
