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
  // A second name of an existing file: both names share one content until
  // WriteFile replaces one of them with a new file (which breaks the link).
  void AddHardLink(const std::string& path, const std::string& existing);
  // A pipe or a device at path: it exists, but reading it as a stream would
  // never end, so ReadFile of it raises std::logic_error (a test failure).
  void AddSpecialFile(const std::string& path, TFileKind kind = TFileKind::Fifo);
  // The file belongs to another user: replacing it would change its owner.
  void SetForeignOwner(const std::string& path) { foreignOwners_.insert(Key(path)); }
  void SetReadOnlyFolder(const std::string& path, bool readOnly);
  // WriteFile to it throws after writing nothing (no space left); an
  // in-place write throws after damaging the file (half of the new data).
  void FailWritesTo(const std::string& path);
  // Every write gives the file a new time stamp (a counter); tests may set
  // one. A mode without the owner's write bit refuses in-place writes.
  void SetFileTime(const std::string& path, int64_t time) { times_[Inode(path)] = time; }
  void SetFileMode(const std::string& path, int mode) { modes_[Inode(path)] = mode; }
  // FileSize reports size for path, whatever it holds (a big file without its bytes).
  void SetReportedSize(const std::string& path, int64_t size) { reportedSizes_[Inode(Key(path))] = size; }
  std::string Contents(const std::string& path) const;
  size_t FileCount() const { return files_.size() + hardLinks_.size(); }
  // How many times each kind of write reached a path.
  int InPlaceWrites() const { return inPlaceWrites_; }

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
  TFileKind FileKind(const std::string& path) override;
  std::string ReadFile(const std::string& path) override;
  void WriteFile(const std::string& path, std::string_view data) override;
  bool ReplacesWhole(const std::string& path) override;
  void WriteFileInPlace(const std::string& path, std::string_view data) override;
  std::string ResolveLink(const std::string& path) override;

 private:
  static std::string Key(const std::string& path);
  static std::string Parent(const std::string& key);
  // The key under which a name's content is kept (its first name, for hard links).
  std::string Inode(const std::string& path) const;
  bool IsHardLinked(const std::string& inode) const;
  // Gives the other names of a hard-linked inode a content of their own.
  void Unlink(const std::string& key);
  std::map<std::string, std::string> files_;
  std::set<std::string> folders_;
  std::set<std::string> readOnlyFolders_;
  std::set<std::string> failingWrites_;
  std::set<std::string> foreignOwners_;
  std::map<std::string, TFileKind> specials_;
  std::map<std::string, std::string> links_;
  std::map<std::string, std::string> hardLinks_;  // second name -> the first name, whose content it shares
  std::map<std::string, int64_t> times_;
  std::map<std::string, int> modes_;
  std::map<std::string, int64_t> reportedSizes_;
  int64_t clock_ = 1000;
  int inPlaceWrites_ = 0;
};

}  // namespace kerv
