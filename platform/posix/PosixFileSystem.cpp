#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>

#include "platform/LargeBuffer.h"

namespace kerv {
namespace {

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

// Raises the EFileError of the errno value the failed call left.
[[noreturn]] void Fail(EFileError::Kind kind, const std::string& path) {
  const int error = errno;
  throw EFileError(error == ENOENT && kind == EFileError::Kind::Open ? EFileError::Kind::NotFound : kind, path, error);
}

// Opens a file (not a folder) for reading and states it; throws EFileError.
int OpenForReading(const std::string& path, struct stat& info, int extraFlags = 0) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | extraFlags);
  if (fd < 0) Fail(EFileError::Kind::Open, path);
  FdGuard guard(fd);
  if (::fstat(fd, &info) != 0) Fail(EFileError::Kind::Read, path);
  if (S_ISDIR(info.st_mode)) throw EFileError(EFileError::Kind::Open, path, EISDIR);
  return guard.release();
}

void WriteAll(int fd, const char* data, size_t size, const std::string& path) {
  while (size > 0) {
    ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail(EFileError::Kind::Write, path);
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
}

// Reads from fd to its end, at most limit bytes (more raises TooBig); size is
// a hint. progress, when given, hears of every step.
std::string ReadToEnd(int fd, size_t sizeHint, const std::string& path, int64_t limit = -1,
                      const TReadProgress* progress = nullptr) {
  // The string grows a step at a time, each step's pages mapped and filled
  // just before they are read into: no stall before the first progress
  // report, and the bytes are still in the cache when they are read.
  constexpr size_t kStepBytes = size_t{16} << 20;
  std::string data;
  // One byte beyond the size sees the end of the file without growing the string.
  const size_t wanted = limit >= 0 ? std::min(sizeHint, static_cast<size_t>(limit)) + 1 : sizeHint + 1;
  data.reserve(wanted);
  size_t filled = 0;
  // The size is a hint: a file that grows or shrinks while read is read to its end.
  for (;;) {
    if (limit >= 0 && filled > static_cast<size_t>(limit)) throw EFileError(EFileError::Kind::TooBig, path, EFBIG);
    if (filled == data.size()) {
      const size_t step = filled < wanted ? std::min(wanted - filled, kStepBytes) : 65536;
      if (filled + step <= data.capacity()) MapPages(data.data() + filled, step);
      data.resize(filled + step);
    }
    if (progress != nullptr && !(*progress)(static_cast<int64_t>(filled), static_cast<int64_t>(sizeHint))) {
      throw EFileError(EFileError::Kind::Cancelled, path, "cancelled");
    }
    ssize_t got = ::read(fd, data.data() + filled, data.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail(EFileError::Kind::Read, path);
    }
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  if (limit >= 0 && filled > static_cast<size_t>(limit)) throw EFileError(EFileError::Kind::TooBig, path, EFBIG);
  data.resize(filled);
  return data;
}

TFileKind KindOf(const struct stat& info) {
  if (S_ISREG(info.st_mode)) return TFileKind::Regular;
  if (S_ISDIR(info.st_mode)) return TFileKind::Folder;
  if (S_ISFIFO(info.st_mode)) return TFileKind::Fifo;
  return TFileKind::Other;
}

[[noreturn]] void RefuseKind(TFileKind kind, const std::string& path) {
  if (kind == TFileKind::Folder) throw EFileError(EFileError::Kind::NotRegular, path, EISDIR);
  throw EFileError(EFileError::Kind::NotRegular, path, kind == TFileKind::Fifo ? "a pipe, not a regular file"
                                                                              : "a device or socket, not a regular file");
}

bool InOwnGroups(gid_t group) {
  if (group == ::getegid()) return true;
  int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<size_t>(count));
  count = ::getgroups(count, groups.data());
  return count > 0 && std::find(groups.begin(), groups.begin() + count, group) != groups.begin() + count;
}

// Temporary files of a save are ".NAME.kerv<pid>-<random>.tmp": the pid tells
// a later save whether their writer still runs, and the writer holds an flock
// on the file while it writes. Earlier versions wrote ".NAME.kerv<random>.tmp".
constexpr const char* kTempMark = ".kerv";
constexpr const char* kTempExt = ".tmp";
// A temporary file of the older form is stale once untouched this long.
constexpr time_t kOldFormStaleSeconds = 3600;

bool AllDigits(std::string_view text) {
  return !text.empty() && text.size() <= 10 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Removes the temporary files that saves of name in folder left behind when
// they were killed: ours only, never one whose writer may still be at work.
void RemoveStaleTemporaries(const std::string& folder, const std::string& name) {
  const std::string prefix = "." + name + kTempMark;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> stale;
  const time_t now = ::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    std::string_view entryName = entry->d_name;
    if (entryName.size() <= prefix.size() + 4 || entryName.substr(0, prefix.size()) != prefix ||
        entryName.substr(entryName.size() - 4) != kTempExt) {
      continue;
    }
    std::string_view middle = entryName.substr(prefix.size(), entryName.size() - prefix.size() - 4);
    const size_t dash = middle.find('-');
    bool oldForm = false;
    if (dash == std::string_view::npos) {
      if (!AllDigits(middle)) continue;
      oldForm = true;
    } else if (!AllDigits(middle.substr(0, dash)) || !AllDigits(middle.substr(dash + 1))) {
      continue;
    }
    const std::string path = folder + std::string(entryName);
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) continue;
    if (oldForm) {
      if (now - info.st_mtime < kOldFormStaleSeconds) continue;
    } else {
      const long long pid = std::stoll(std::string(middle.substr(0, dash)));
      if (pid <= 0 || pid > INT_MAX) continue;
      if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;  // still running (or not ours to ask)
    }
    stale.push_back(path);
  }
  ::closedir(dir);
  for (const std::string& path : stale) {
    FdGuard fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    // A writer that is alive after all (another pid namespace) holds its lock.
    if (fd.get() < 0 || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
    ::unlink(path.c_str());
  }
}

// Flushes the folder's entries: a renamed file must survive a crash too. A
// folder that cannot be opened or flushed (some network file systems) leaves
// the file written all the same.
void SyncFolder(const std::string& folder) {
  FdGuard folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folderFd.get() >= 0 && ::fsync(folderFd.get()) != 0) {
    // Not fatal: the data itself is on disk.
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
    // A pipe or a device is no file to copy: its read might never end.
    WriteFile(to, ReadRegularFile(from, INT64_MAX));
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
  return ReadToEnd(fd.get(), static_cast<size_t>(info.st_size), path);
}

TFileKind PosixFileSystem::FileKind(const std::string& path) {
  struct stat info;
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return TFileKind::Missing;
  return KindOf(info);
}

std::string PosixFileSystem::ReadRegularFile(const std::string& path, int64_t maxBytes) {
  return ReadRegularFileWithProgress(path, maxBytes, TReadProgress());
}

std::string PosixFileSystem::ReadRegularFileWithProgress(const std::string& path, int64_t maxBytes,
                                                         const TReadProgress& progress) {
  // Looked at before it is opened: opening a pipe waits for a writer, and
  // opening a device may do something of its own.
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) Fail(EFileError::Kind::Open, path);
  if (!S_ISREG(info.st_mode)) RefuseKind(KindOf(info), path);
  // Opened without waiting, and looked at again, in case the name was
  // given to something else in between.
  FdGuard fd(OpenForReading(path, info, O_NONBLOCK | O_NOCTTY));
  if (!S_ISREG(info.st_mode)) RefuseKind(KindOf(info), path);
  if (info.st_size > maxBytes) throw EFileError(EFileError::Kind::TooBig, path, EFBIG);
  if (std::optional<std::string> bytes = TakeReadAhead(info, maxBytes)) return std::move(*bytes);
  return ReadToEnd(fd.get(), static_cast<size_t>(info.st_size), path, maxBytes, progress ? &progress : nullptr);
}

namespace {

constexpr off_t kReadAheadMaxBytes = off_t{512} << 20;

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
         a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

}  // namespace

void PosixFileSystem::ReadAhead(const std::string& path) {
  auto readAhead = std::make_unique<TReadAhead>();
  if (::stat(path.c_str(), &readAhead->identity) != 0 || !S_ISREG(readAhead->identity.st_mode)) return;
  // A file so big that the user is likely asked first is not read unasked.
  if (readAhead->identity.st_size > kReadAheadMaxBytes) return;
  const struct stat identity = readAhead->identity;
  readAhead->bytes = std::async(std::launch::async, [path, identity]() -> std::optional<std::string> {
    try {
      struct stat info;
      FdGuard fd(OpenForReading(path, info, O_NONBLOCK | O_NOCTTY));
      if (!SameFile(info, identity)) return std::nullopt;
      std::string bytes = ReadToEnd(fd.get(), static_cast<size_t>(info.st_size), path);
      // Written to while it was read: the bytes may be of two versions.
      if (::fstat(fd.get(), &info) != 0 || !SameFile(info, identity)) return std::nullopt;
      return bytes;
    } catch (const EFileError&) {
      return std::nullopt;  // the read that comes reports it
    } catch (const std::bad_alloc&) {
      return std::nullopt;
    }
  });
  std::lock_guard lock(readAheadMutex_);
  readAhead_ = std::move(readAhead);
}

void PosixFileSystem::DropReadAhead() {
  std::unique_ptr<TReadAhead> readAhead;
  {
    std::lock_guard lock(readAheadMutex_);
    readAhead = std::move(readAhead_);
  }
  // The future's destructor waits for the thread; the bytes go with it.
}

std::optional<std::string> PosixFileSystem::TakeReadAhead(const struct stat& info, int64_t maxBytes) {
  std::unique_ptr<TReadAhead> readAhead;
  {
    std::lock_guard lock(readAheadMutex_);
    // Another file (the settings, read before the document) leaves it waiting.
    if (!readAhead_ || readAhead_->identity.st_dev != info.st_dev || readAhead_->identity.st_ino != info.st_ino) {
      return std::nullopt;
    }
    readAhead = std::move(readAhead_);
  }
  std::optional<std::string> bytes = readAhead->bytes.get();
  if (!bytes || !SameFile(info, readAhead->identity) || static_cast<int64_t>(bytes->size()) > maxBytes) {
    return std::nullopt;
  }
  return bytes;
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
  PosixFileWriter writer(*this, path);
  writer.Write(data);
  writer.Commit();
}

PosixFileWriter::PosixFileWriter(PosixFileSystem& fs, const std::string& path) : fs_(fs), path_(path) {
  target_ = fs.ResolveLink(path);
  folder_ = ExtractFileFolder(target_);
  if (folder_.empty()) folder_ = fs.CurrentFolder();

  struct stat original;
  bool hadOriginal = ::stat(target_.c_str(), &original) == 0;
  if (hadOriginal && S_ISDIR(original.st_mode)) throw EFileError(EFileError::Kind::Open, path, EISDIR);
  if (hadOriginal && !S_ISREG(original.st_mode)) {
    // A device or pipe (/dev/stdout, a FIFO) cannot be replaced: write into it.
    fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd_ < 0) Fail(EFileError::Kind::Open, path);
    return;
  }
  // The rename at the end would replace a file its owner made read-only:
  // such a file refuses the write, as writing into it would.
  if (hadOriginal && ::access(target_.c_str(), W_OK) != 0) Fail(EFileError::Kind::Open, path);

  const std::string name = ExtractFileName(target_);
  // Not inside a batch: a scan of the folder for each of a thousand images
  // would grow with the folder; the next save of a name sweeps its leftovers.
  if (fs.batchDepth_ == 0) RemoveStaleTemporaries(folder_, name);
  std::random_device random;
  const std::string stem = folder_ + "." + name + kTempMark + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    tempPath_ = stem + std::to_string(random() % 1000000) + kTempExt;
    fd_ = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) Fail(EFileError::Kind::Open, path);
  }
  if (fd_ < 0) throw EFileError(EFileError::Kind::Open, path, "no temporary file name available");
  // Held while the file is written: a later save of this name leaves it alone.
  ::flock(fd_, LOCK_EX | LOCK_NB);
  if (hadOriginal) {
    // Keep the original's permission bits and, where allowed, its owner.
    if (::fchmod(fd_, original.st_mode & 07777) != 0) {
      // Not fatal: the file is written; permissions fall back to the umask.
    }
    if (::fchown(fd_, original.st_uid, original.st_gid) != 0) {
      // Only root may give files away; an ordinary user keeps their own ownership.
    }
  }
}

PosixFileWriter::~PosixFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!tempPath_.empty() && !committed_) ::unlink(tempPath_.c_str());
}

void PosixFileWriter::Write(std::string_view data) {
  try {
    WriteAll(fd_, data.data(), data.size(), path_);
  } catch (...) {
    Discard();
    throw;
  }
}

void PosixFileWriter::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
  tempPath_.clear();
}

void PosixFileWriter::Commit() {
  if (tempPath_.empty()) {
    // Written straight into a device or pipe.
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail(EFileError::Kind::Write, path_);
    committed_ = true;
    return;
  }
  try {
    // Inside a batch the batch's end flushes; otherwise each file on its own.
    if (fs_.batchDepth_ == 0 && ::fsync(fd_) != 0) Fail(EFileError::Kind::Write, path_);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail(EFileError::Kind::Write, path_);
    if (::rename(tempPath_.c_str(), target_.c_str()) != 0) Fail(EFileError::Kind::Write, path_);
  } catch (...) {
    Discard();
    throw;
  }
  committed_ = true;
  if (fs_.batchDepth_ > 0) {
    // The batch's end flushes data and names together.
    fs_.batchFolders_.insert(folder_);
    return;
  }
  SyncFolder(folder_);
}

int PosixFileSystem::OpenStream(const std::string& path, bool fifoAllowed) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) Fail(EFileError::Kind::Open, path);
  const TFileKind kind = KindOf(info);
  if (kind != TFileKind::Regular && !(fifoAllowed && kind == TFileKind::Fifo)) RefuseKind(kind, path);
  // A regular file is opened without waiting and looked at again, in case
  // the name was given to something else in between; a FIFO waits for its writer.
  const int flags = kind == TFileKind::Regular ? O_NONBLOCK | O_NOCTTY : O_NOCTTY;
  FdGuard fd(OpenForReading(path, info, flags));
  if (KindOf(info) != kind) RefuseKind(KindOf(info), path);
  if (kind == TFileKind::Regular) {
    // Reading a regular file never waits; the flag only mattered for the open.
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
  }
  return fd.release();
}

size_t PosixFileSystem::ReadSome(int fd, char* buffer, size_t size, const std::string& path) {
  for (;;) {
    ssize_t got = ::read(fd, buffer, size);
    if (got >= 0) return static_cast<size_t>(got);
    if (errno != EINTR) Fail(EFileError::Kind::Read, path);
  }
}

bool PosixFileSystem::ReplacesWhole(const std::string& path) {
  const std::string target = ResolveLink(path);
  struct stat info;
  // Nothing there, or nothing that a new file could replace: nothing to lose.
  if (::stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return true;
  // A new file would leave the other names with the old text.
  if (info.st_nlink > 1) return false;
  if (::geteuid() != 0) {
    // A new file would belong to us: only root may give it the old owner or a group we are not in.
    if (info.st_uid != ::geteuid() || !InOwnGroups(info.st_gid)) return false;
  }
  // A folder we may not write (or a sticky one) takes no new entry, though the file itself may be writable.
  std::string folder = ExtractFileFolder(target);
  if (folder.empty()) folder = CurrentFolder();
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

void PosixFileSystem::WriteFileInPlace(const std::string& path, std::string_view data) {
  const std::string target = ResolveLink(path);
  const std::string folder = ExtractFileFolder(target);
  RemoveStaleTemporaries(folder.empty() ? CurrentFolder() : folder, ExtractFileName(target));
  FdGuard fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0) Fail(EFileError::Kind::Open, path);
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) Fail(EFileError::Kind::Write, path);
  if (!S_ISREG(info.st_mode)) RefuseKind(KindOf(info), path);
  const off_t oldSize = info.st_size;
  const off_t newSize = static_cast<off_t>(data.size());
  if (newSize > oldSize) {
    // The space first: a full disk is found before a byte of the old text is lost.
    const int error = ::posix_fallocate(fd.get(), 0, newSize);
    if (error != 0 && error != EOPNOTSUPP && error != EINVAL) {
      if (::ftruncate(fd.get(), oldSize) != 0) {
        // The old text is whole either way; only its size may have grown.
      }
      throw EFileError(EFileError::Kind::Write, path, error);
    }
  }
  WriteAll(fd.get(), data.data(), data.size(), path);
  if (newSize < oldSize && ::ftruncate(fd.get(), newSize) != 0) Fail(EFileError::Kind::Write, path);
  if (::fsync(fd.get()) != 0) Fail(EFileError::Kind::Write, path);
  if (::close(fd.release()) != 0) Fail(EFileError::Kind::Write, path);
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
