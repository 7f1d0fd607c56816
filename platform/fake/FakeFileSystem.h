#pragma once
#include <map>
#include <set>

#include "platform/FileSystem.h"

namespace kerv {

// An in-memory file system for tests. Paths are absolute; folders are
// stored without their trailing '/'. Failures can be injected per path.
class FakeFileSystem : public IFileSystem {
 public:
  FakeFileSystem();

  // Test set-up.
  void AddFile(const std::string& path, std::string data);
  void AddFolder(const std::string& path);  // one level; the parent must exist
  void AddLink(const std::string& path, const std::string& target);
  void SetReadOnlyFolder(const std::string& path, bool readOnly);
  void FailWritesTo(const std::string& path);  // WriteFile to it throws after writing nothing
  // Every write gives the file a new time stamp (a counter); tests may set one.
  void SetFileTime(const std::string& path, int64_t time) { times_[Key(path)] = time; }
  void SetFileMode(const std::string& path, int mode) { modes_[Key(path)] = mode; }
  std::string Contents(const std::string& path) const;
  size_t FileCount() const { return files_.size(); }

  std::string executableFolder = "/opt/kerv/";
  std::string currentFolder = "/home/user/";
  std::string tempFolder = "/tmp/";
  std::string configFolder = "/home/user/.config/";
  std::string userName = "user";

  std::string ExecutableFolder() override { return executableFolder; }
  std::string CurrentFolder() override { return currentFolder; }
  std::string TempFolder() override { return tempFolder; }
  std::string UserConfigFolder() override { return configFolder; }
  std::string UserName() override { return userName; }
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
  std::string ReadFile(const std::string& path) override;
  void WriteFile(const std::string& path, std::string_view data) override;
  std::string ResolveLink(const std::string& path) override;

 private:
  static std::string Key(const std::string& path);
  std::map<std::string, std::string> files_;
  std::set<std::string> folders_;
  std::set<std::string> readOnlyFolders_;
  std::set<std::string> failingWrites_;
  std::map<std::string, std::string> links_;
  std::map<std::string, int64_t> times_;
  std::map<std::string, int> modes_;
  int64_t clock_ = 1000;
};

}  // namespace kerv
