#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "platform/LargeBuffer.h"

namespace kerv {
namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

// Closes a descriptor on every path out of a scope.
class FdGuard {
 public:
  explicit FdGuard(int fd) : fd_(fd) {}
  ~FdGuard() {
    if (fd_ >= 0) ::close(fd_);
  }
  FdGuard(const FdGuard&) = delete;
  FdGuard& operator=(const FdGuard&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// Opens a file (not a folder) for reading and states it; throws EFileError.
int OpenForReading(const std::string& path, struct stat& info) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    int error = errno;
    throw EFileError(error == ENOENT ? EFileError::Kind::NotFound : EFileError::Kind::Open, path, ErrnoText(error));
  }
  FdGuard guard(fd);
  if (::fstat(fd, &info) != 0) throw EFileError(EFileError::Kind::Read, path, ErrnoText(errno));
  if (S_ISDIR(info.st_mode)) throw EFileError(EFileError::Kind::Open, path, ErrnoText(EISDIR));
  return guard.release();
}

void WriteAll(int fd, const char* data, size_t size, const std::string& path) {
  while (size > 0) {
    ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      throw EFileError(EFileError::Kind::Write, path, ErrnoText(errno));
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
}

}  // namespace

std::string PosixFileSystem::ExecutableFolder() {
  char buffer[PATH_MAX];
  ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return CurrentFolder();
  return ExtractFileFolder(std::string(buffer, static_cast<size_t>(length)));
}

std::string PosixFileSystem::CurrentFolder() {
  char buffer[PATH_MAX];
  if (::getcwd(buffer, sizeof buffer) == nullptr) return "/";
  return IncludeTrailingSlash(buffer);
}

std::string PosixFileSystem::TempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  if (tmp != nullptr && *tmp != '\0' && FolderExists(tmp)) return IncludeTrailingSlash(tmp);
  return "/tmp/";
}

std::string PosixFileSystem::UserConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return IncludeTrailingSlash(xdg);
  const char* home = std::getenv("HOME");
  std::string homeFolder;
  if (home != nullptr && home[0] == '/') {
    homeFolder = home;
  } else if (const passwd* entry = ::getpwuid(::geteuid())) {
    homeFolder = entry->pw_dir;
  } else {
    homeFolder = "/tmp";
  }
  return IncludeTrailingSlash(homeFolder) + ".config/";
}

std::string PosixFileSystem::UserName() {
  // The owner of the process, not $USER, which any caller can set.
  if (const passwd* entry = ::getpwuid(::geteuid())) return entry->pw_name;
  return std::to_string(::geteuid());
}

bool PosixFileSystem::FileExists(const std::string& path) {
  struct stat info;
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool PosixFileSystem::FolderExists(const std::string& path) {
  struct stat info;
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PosixFileSystem::IsWritableFolder(const std::string& path) {
  return FolderExists(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

bool PosixFileSystem::CreateFolder(const std::string& path) {
  std::string folder = path;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return ::mkdir(folder.c_str(), 0777) == 0;
}

bool PosixFileSystem::CopyFile(const std::string& from, const std::string& to) {
  try {
    WriteFile(to, ReadFile(from));
    return true;
  } catch (const EFileError&) {
    return false;
  }
}

std::vector<std::string> PosixFileSystem::ListFiles(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return names;
  std::string base = IncludeTrailingSlash(folder);
  while (const dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (MatchesPattern(name, pattern) && FileExists(base + name)) names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

bool PosixFileSystem::RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool PosixFileSystem::RenameFileNoReplace(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
#endif
  // Without the flag (an older kernel or a file system that lacks it) a hard
  // link refuses an existing target just the same.
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return true;
  }
  if (errno == EEXIST) return false;
  // No hard links here either (FAT, some network file systems): look, then
  // rename; only a file created in between could still be replaced.
  struct stat info;
  if (::lstat(to.c_str(), &info) == 0 || errno != ENOENT) return false;
  return ::rename(from.c_str(), to.c_str()) == 0;
}

int64_t PosixFileSystem::FileSize(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return -1;
  return static_cast<int64_t>(info.st_size);
}

int64_t PosixFileSystem::FileTime(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return -1;
  return static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + static_cast<int64_t>(info.st_mtim.tv_nsec);
}

int PosixFileSystem::FileMode(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return -1;
  return static_cast<int>(info.st_mode & 07777);
}

std::string PosixFileSystem::ReadFile(const std::string& path) {
  struct stat info;
  FdGuard fd(OpenForReading(path, info));
  std::string data;
  // One byte beyond the size sees the end of the file without growing the string.
  ReserveLargeText(data, static_cast<size_t>(info.st_size) + 1);
  data.resize(static_cast<size_t>(info.st_size) + 1);
  size_t filled = 0;
  // The size is a hint: a file that grows or shrinks while read is read to its end.
  for (;;) {
    if (filled == data.size()) data.resize(data.size() + 65536);
    ssize_t got = ::read(fd.get(), data.data() + filled, data.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw EFileError(EFileError::Kind::Read, path, ErrnoText(errno));
    }
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  data.resize(filled);
  return data;
}

TFileBytes PosixFileSystem::ReadFileBytes(const std::string& path) {
  struct stat info;
  FdGuard fd(OpenForReading(path, info));
  if (S_ISREG(info.st_mode) && info.st_size > 0) {
    size_t size = static_cast<size_t>(info.st_size);
    void* address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd.get(), 0);
    if (address != MAP_FAILED) {
      TFileBytes file;
      file.size = size;
      file.data = std::shared_ptr<const char>(static_cast<const char*>(address),
                                              [size](const char* p) { ::munmap(const_cast<char*>(p), size); });
      return file;
    }
  }
  // Pipes, empty files and whatever cannot be mapped are read.
  return IFileSystem::ReadFileBytes(path);
}

void PosixFileSystem::WriteFile(const std::string& path, std::string_view data) {
  std::string target = ResolveLink(path);
  std::string folder = ExtractFileFolder(target);
  if (folder.empty()) folder = CurrentFolder();

  struct stat original;
  bool hadOriginal = ::stat(target.c_str(), &original) == 0;
  if (hadOriginal && S_ISDIR(original.st_mode)) throw EFileError(EFileError::Kind::Open, path, ErrnoText(EISDIR));
  if (hadOriginal && !S_ISREG(original.st_mode)) {
    // A device or pipe (/dev/stdout, a FIFO) cannot be replaced: write into it.
    FdGuard fd(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (fd.get() < 0) throw EFileError(EFileError::Kind::Open, path, ErrnoText(errno));
    WriteAll(fd.get(), data.data(), data.size(), path);
    if (::close(fd.release()) != 0) throw EFileError(EFileError::Kind::Write, path, ErrnoText(errno));
    return;
  }
  // The rename below would replace a file its owner made read-only: such a
  // file refuses the write, as writing into it would.
  if (hadOriginal && ::access(target.c_str(), W_OK) != 0) {
    throw EFileError(EFileError::Kind::Open, path, ErrnoText(errno));
  }

  std::string tempPath;
  int opened = -1;
  std::random_device random;
  for (int attempt = 0; attempt < 100 && opened < 0; ++attempt) {
    tempPath = folder + "." + ExtractFileName(target) + ".kerv" + std::to_string(random() % 1000000) + ".tmp";
    opened = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (opened < 0 && errno != EEXIST) throw EFileError(EFileError::Kind::Open, path, ErrnoText(errno));
  }
  if (opened < 0) throw EFileError(EFileError::Kind::Open, path, "no temporary file name available");
  FdGuard fd(opened);

  try {
    WriteAll(fd.get(), data.data(), data.size(), path);
    if (hadOriginal) {
      // Keep the original's permission bits and, where allowed, its owner.
      if (::fchmod(fd.get(), original.st_mode & 07777) != 0) {
        // Not fatal: the file is written; permissions fall back to the umask.
      }
      if (::fchown(fd.get(), original.st_uid, original.st_gid) != 0) {
        // Only root may give files away; an ordinary user keeps their own ownership.
      }
    }
    if (batchDepth_ == 0 && ::fsync(fd.get()) != 0) throw EFileError(EFileError::Kind::Write, path, ErrnoText(errno));
    if (::close(fd.release()) != 0) throw EFileError(EFileError::Kind::Write, path, ErrnoText(errno));
    if (::rename(tempPath.c_str(), target.c_str()) != 0) throw EFileError(EFileError::Kind::Write, path, ErrnoText(errno));
  } catch (...) {
    ::unlink(tempPath.c_str());
    throw;
  }
  if (batchDepth_ > 0) {
    // The batch's end flushes data and names together.
    batchFolders_.insert(folder);
    return;
  }
  // The new name must survive a crash too: flush the folder's entry. A folder
  // that cannot be opened or flushed (some network file systems) leaves the
  // file written all the same.
  FdGuard folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folderFd.get() >= 0 && ::fsync(folderFd.get()) != 0) {
    // Not fatal: the data itself is on disk.
  }
}

void PosixFileSystem::EndWriteBatch() {
  if (batchDepth_ == 0 || --batchDepth_ > 0) return;
  // One flush per file system instead of two per file: a folder of a
  // thousand images is written in a second, not in ten.
  for (const std::string& folder : batchFolders_) {
    FdGuard folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.get() >= 0 && ::syncfs(folderFd.get()) != 0) {
      // Not fatal: every file is written and named; only its flush was asked for.
    }
  }
  batchFolders_.clear();
}

std::string PosixFileSystem::ResolveLink(const std::string& path) {
  std::string current = path;
  // A bounded walk so that a loop of links cannot hang us.
  for (int depth = 0; depth < 40; ++depth) {
    struct stat info;
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    char buffer[PATH_MAX];
    ssize_t length = ::readlink(current.c_str(), buffer, sizeof buffer - 1);
    if (length <= 0) return current;
    std::string link(buffer, static_cast<size_t>(length));
    std::string base = ExtractFileFolder(current);
    current = AbsolutePath(link, base.empty() ? CurrentFolder() : base);
  }
  return current;
}

}  // namespace kerv
