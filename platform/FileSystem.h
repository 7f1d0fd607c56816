#pragma once
// Files and folders as the program sees them. Paths are native byte strings
// (UTF-8 on Linux) separated by '/'; folder results end with '/'.

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kerv {

// A whole file's bytes, read only (see ReadFileBytes); whoever holds data keeps them.
struct TFileBytes {
  std::shared_ptr<const char> data;
  size_t size = 0;
  std::string_view View() const { return std::string_view(data.get(), size); }
};

// Raised by every file operation that cannot be completed.
class EFileError : public std::runtime_error {
 public:
  // NotRegular: a pipe, a device or a socket where a file's contents were
  // wanted; TooBig: a file beyond the size its reader accepts; Cancelled: a
  // read its progress stopped.
  enum class Kind { NotFound, Open, Read, Write, Other, NotRegular, TooBig, Cancelled };
  EFileError(Kind kind, std::string path, const std::string& reason);
  // The system's error number (errno), whose text becomes the reason.
  EFileError(Kind kind, std::string path, int errorNumber)
      : EFileError(kind, std::move(path), std::string(std::strerror(errorNumber))) {
    errorNumber_ = errorNumber;
  }
  Kind kind() const { return kind_; }
  const std::string& path() const { return path_; }
  // The errno value behind the failure, 0 when it had none.
  int errorNumber() const { return errorNumber_; }
  // What went wrong, without the path ("path: reason" is the whole message).
  std::string reason() const {
    std::string_view text = what();
    if (!path_.empty() && text.size() >= path_.size() + 2 && text.substr(0, path_.size()) == path_) {
      text.remove_prefix(path_.size() + 2);
    }
    return std::string(text);
  }

 private:
  Kind kind_;
  std::string path_;
  int errorNumber_ = 0;
};

// How far a long read has come, told every few megabytes; false stops it.
using TReadProgress = std::function<bool(int64_t doneBytes, int64_t totalBytes)>;

// What a path names (links followed).
enum class TFileKind { Missing, Regular, Folder, Fifo, Other };

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  // Folder of the running executable, with a trailing '/'.
  virtual std::string ExecutableFolder() = 0;
  virtual std::string CurrentFolder() = 0;
  virtual std::string TempFolder() = 0;
  // The per-user configuration root ($XDG_CONFIG_HOME or ~/.config), trailing '/'.
  virtual std::string UserConfigFolder() = 0;
  // Login name of the process owner.
  virtual std::string UserName() = 0;

  virtual bool FileExists(const std::string& path) = 0;    // a file (links followed)
  virtual bool FolderExists(const std::string& path) = 0;  // a folder (links followed)
  bool PathExists(const std::string& path) { return FileExists(path) || FolderExists(path); }
  virtual bool IsWritableFolder(const std::string& path) = 0;

  // Creates one folder level; false when it cannot (missing parent included).
  virtual bool CreateFolder(const std::string& path) = 0;
  virtual bool CopyFile(const std::string& from, const std::string& to) = 0;
  // Names (not paths) of the files in folder matching a glob pattern such as "*.em2", sorted.
  virtual std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Gives a file a new name, refusing (false) when the new name already
  // exists: a plain rename would replace that file silently.
  virtual bool RenameFileNoReplace(const std::string& from, const std::string& to) = 0;

  // Size in bytes, or -1 when there is no such file.
  virtual int64_t FileSize(const std::string& path) = 0;
  // Modification time of a file (links followed) in nanoseconds since the
  // epoch, or -1 when there is no such file. Compared for equality only.
  virtual int64_t FileTime(const std::string& path) = 0;
  // Permission bits (07777) of a file, or -1 when there is no such file.
  virtual int FileMode(const std::string& path) = 0;
  virtual TFileKind FileKind(const std::string& path) {
    if (FolderExists(path)) return TFileKind::Folder;
    return FileExists(path) ? TFileKind::Regular : TFileKind::Missing;
  }
  // Reads the whole file without locking others out; throws EFileError. A
  // pipe or a device is read as a stream, to its end (which may never come).
  virtual std::string ReadFile(const std::string& path) = 0;
  // Reads a regular file of at most maxBytes, never waiting on a pipe and
  // never reading a device: anything else raises EFileError of kind
  // NotRegular (missing: NotFound), a bigger file one of kind TooBig.
  virtual std::string ReadRegularFile(const std::string& path, int64_t maxBytes) {
    switch (FileKind(path)) {
      case TFileKind::Regular:
        break;
      case TFileKind::Missing:
        throw EFileError(EFileError::Kind::NotFound, path, ENOENT);
      case TFileKind::Folder:
        throw EFileError(EFileError::Kind::NotRegular, path, EISDIR);
      default:
        throw EFileError(EFileError::Kind::NotRegular, path, std::string("not a regular file"));
    }
    if (FileSize(path) > maxBytes) throw EFileError(EFileError::Kind::TooBig, path, EFBIG);
    std::string data = ReadFile(path);
    // A file that grew while it was read is refused all the same.
    if (static_cast<int64_t>(data.size()) > maxBytes) throw EFileError(EFileError::Kind::TooBig, path, EFBIG);
    return data;
  }
  // ReadRegularFile telling progress how far it has come; when progress
  // answers false the read stops with EFileError of kind Cancelled.
  virtual std::string ReadRegularFileWithProgress(const std::string& path, int64_t maxBytes,
                                                  const TReadProgress& progress) {
    std::string bytes = ReadRegularFile(path, maxBytes);
    if (progress && !progress(static_cast<int64_t>(bytes.size()), static_cast<int64_t>(bytes.size()))) {
      throw EFileError(EFileError::Kind::Cancelled, path, "cancelled");
    }
    return bytes;
  }

  // The same for big files that are only scanned: a regular file may be
  // mapped instead of copied. (A file truncated by another program while
  // mapped cannot be read to its old end; use ReadFile for documents.)
  // Throws EFileError.
  virtual TFileBytes ReadFileBytes(const std::string& path);
  // Creates or replaces the file with data. The bytes go to a temporary file in
  // the same folder that replaces the original only once complete and flushed,
  // so a failure leaves the original untouched; the original's permissions are
  // kept and a symbolic link is written through to its target. Throws EFileError.
  virtual void WriteFile(const std::string& path, std::string_view data) = 0;
  // Whether WriteFile can replace the existing file at path with a new one
  // without losing anything of it: its owner and group, its mode, its other
  // names (hard links), and the right to give the folder entry a new file.
  // False means only WriteFileInPlace keeps the file what it is.
  virtual bool ReplacesWhole(const std::string&) { return true; }
  // Overwrites the existing file at path in place with data (same inode,
  // owner, mode and links), then cuts it to the new size. Space is claimed
  // before the first byte is overwritten where the file system allows it,
  // but a failure part-way can leave the file damaged: callers keep a copy
  // first. Throws EFileError.
  virtual void WriteFileInPlace(const std::string& path, std::string_view data) { WriteFile(path, data); }
  // Around a run of many new files (a folder of images): the writes inside
  // may leave their flushing to one flush of the file system at the end,
  // instead of waiting for the disk after every file. Each file still
  // appears whole or not at all. Pairs nest; the default does nothing.
  virtual void BeginWriteBatch() {}
  virtual void EndWriteBatch() {}

  // The target of a symbolic link, followed to the end; other paths unchanged.
  virtual std::string ResolveLink(const std::string& path) = 0;
};

// Brackets a run of writes with BeginWriteBatch and EndWriteBatch.
class TFileWriteBatch {
 public:
  explicit TFileWriteBatch(IFileSystem& fs) : fs_(fs) { fs_.BeginWriteBatch(); }
  ~TFileWriteBatch() { fs_.EndWriteBatch(); }
  TFileWriteBatch(const TFileWriteBatch&) = delete;
  TFileWriteBatch& operator=(const TFileWriteBatch&) = delete;

 private:
  IFileSystem& fs_;
};

// Path helpers shared by every caller; pure string work.
std::string IncludeTrailingSlash(const std::string& folder);
std::string ExtractFileName(const std::string& path);
std::string ExtractFileFolder(const std::string& path);  // with trailing '/', or empty
std::string ExtractFileExt(const std::string& path);     // with the dot, or empty
// Joins a relative name to base (a folder with trailing '/') and folds "." and "..".
std::string AbsolutePath(const std::string& name, const std::string& base);
// Glob match of a file name against a pattern with '*' and '?' (case-sensitive).
bool MatchesPattern(std::string_view name, std::string_view pattern);

}  // namespace kerv
