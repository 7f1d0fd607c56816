#include "platform/posix/PosixFileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace kerv {
namespace {

int FlockNoWait(int fd, int operation) {
  int result;
  do {
    result = ::flock(fd, operation | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  return result;
}

}  // namespace

bool PosixFileLock::Lock(const std::string& path, int mode) {
  Unlock();
  if (mode != lmDenyWrite && mode != lmDenyAll) return false;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  if (FlockNoWait(fd, mode == lmDenyAll ? LOCK_EX : LOCK_SH) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void PosixFileLock::Unlock() {
  if (fd_ < 0) return;
  // Closing the only descriptor of the open file releases its flock.
  ::close(fd_);
  fd_ = -1;
}

bool PosixFileLock::Refused(const std::string& path, bool forWriting) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;  // the read or write itself reports what is wrong
  bool refused = FlockNoWait(fd, forWriting ? LOCK_EX : LOCK_SH) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return refused;
}

}  // namespace kerv
