#pragma once
#include <set>

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
  TFileBytes ReadFileBytes(const std::string& path) override;
  void WriteFile(const std::string& path, std::string_view data) override;
  bool ReplacesWhole(const std::string& path) override;
  void WriteFileInPlace(const std::string& path, std::string_view data) override;
  std::string ResolveLink(const std::string& path) override;
  void BeginWriteBatch() override { ++batchDepth_; }
  // Flushes the file systems of the folders written in the batch (syncfs).
  void EndWriteBatch() override;

 private:
  int batchDepth_ = 0;
  std::set<std::string> batchFolders_;
};

}  // namespace kerv
