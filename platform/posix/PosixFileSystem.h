#pragma once
#include <sys/stat.h>

#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace kerv {

// The real file system through POSIX calls; no Qt, so the command-line tools can use it.
class PosixFileSystem : public IFileSystem {
 public:
  std::string ExecutableFolder() override;
  std::string CurrentFolder() override;
  std::string TempFolder() override;
  std::string UserConfigFolder() override;
  std::string UserName() override;
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool IsWritableFolder(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to) override;
  std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) override;
  bool RemoveFile(const std::string& path) override;
  bool RenameFileNoReplace(const std::string& from, const std::string& to) override;
  int64_t FileSize(const std::string& path) override;
  int64_t FileTime(const std::string& path) override;
  int FileMode(const std::string& path) override;
  TFileKind FileKind(const std::string& path) override;
  std::string ReadFile(const std::string& path) override;
  std::string ReadRegularFile(const std::string& path, int64_t maxBytes) override;
  std::string ReadRegularFileWithProgress(const std::string& path, int64_t maxBytes,
                                          const TReadProgress& progress) override;
  TFileBytes ReadFileBytes(const std::string& path) override;
  void WriteFile(const std::string& path, std::string_view data) override;
  bool ReplacesWhole(const std::string& path) override;
  void WriteFileInPlace(const std::string& path, std::string_view data) override;
  std::string ResolveLink(const std::string& path) override;

  // A file to read piece by piece: opened as ReadRegularFile opens it (a
  // FIFO too where allowed); the caller closes the descriptor. Throws EFileError.
  int OpenStream(const std::string& path, bool fifoAllowed);
  // Up to size bytes from fd, 0 at its end; throws EFileError naming path.
  static size_t ReadSome(int fd, char* buffer, size_t size, const std::string& path);

  // Starts reading a regular file on a thread of its own, for a read of it
  // that is coming (the file named on the command line, while the window is
  // being built). ReadRegularFile takes the bytes when the file it opens is
  // still the one that was read (same file, size and times); otherwise, or
  // when the read failed, it reads as always. DropReadAhead frees bytes
  // nobody took.
  void ReadAhead(const std::string& path);
  void DropReadAhead();

  void BeginWriteBatch() override { ++batchDepth_; }
  // Flushes the file systems of the folders written in the batch (syncfs).
  void EndWriteBatch() override;

 private:
  friend class PosixFileWriter;  // a file written inside a batch leaves its flush to the batch

  struct TReadAhead {
    struct stat identity;
    std::future<std::optional<std::string>> bytes;
  };
  std::optional<std::string> TakeReadAhead(const struct stat& info, int64_t maxBytes);

  std::mutex readAheadMutex_;
  std::unique_ptr<TReadAhead> readAhead_;
  int batchDepth_ = 0;
  std::set<std::string> batchFolders_;
};

// A file written piece by piece the way WriteFile writes it: into a
// temporary file beside it that replaces it only at Commit, so that a
// failure or a writer given up leaves the old file as it was. A device or
// pipe is written into directly. Throws EFileError.
class PosixFileWriter {
 public:
  PosixFileWriter(PosixFileSystem& fs, const std::string& path);
  ~PosixFileWriter();
  PosixFileWriter(const PosixFileWriter&) = delete;
  PosixFileWriter& operator=(const PosixFileWriter&) = delete;

  void Write(std::string_view data);
  // Flushes to the disk and puts the file in the old one's place.
  void Commit();
  // Gives the file up: the old one stays.
  void Discard();

 private:
  PosixFileSystem& fs_;
  std::string path_;
  std::string target_;
  std::string folder_;
  std::string tempPath_;
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace kerv
