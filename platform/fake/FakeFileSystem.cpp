#include "platform/fake/FakeFileSystem.h"

#include <cerrno>
#include <cstdint>
#include <stdexcept>

namespace kerv {

FakeFileSystem::FakeFileSystem() {
  for (const char* folder : {"/", "/opt", "/opt/kerv", "/home", "/home/user", "/home/user/.config", "/tmp"}) {
    folders_.insert(folder);
  }
}

std::string FakeFileSystem::Key(const std::string& path) {
  std::string key = path;
  while (key.size() > 1 && key.back() == '/') key.pop_back();
  return key;
}

std::string FakeFileSystem::Parent(const std::string& key) {
  std::string parent = Key(ExtractFileFolder(key));
  if (parent.empty()) parent.assign(1, '/');  // (assigning "/" trips a false -Wrestrict at -O3)
  return parent;
}

std::string FakeFileSystem::Inode(const std::string& path) const {
  std::string key = Key(path);
  auto it = hardLinks_.find(key);
  return it == hardLinks_.end() ? key : it->second;
}

bool FakeFileSystem::IsHardLinked(const std::string& inode) const {
  for (const auto& [name, target] : hardLinks_) {
    if (target == inode) return true;
  }
  return false;
}

void FakeFileSystem::Unlink(const std::string& key) {
  if (hardLinks_.erase(key) != 0) return;
  // The first name goes its own way: the next name takes the shared content over.
  std::string heir;
  for (auto& [name, target] : hardLinks_) {
    if (target != key) continue;
    if (heir.empty()) heir = name;
    target = heir;
  }
  if (heir.empty()) return;
  hardLinks_.erase(heir);
  files_[heir] = files_[key];
  if (times_.count(key)) times_[heir] = times_[key];
  if (modes_.count(key)) modes_[heir] = modes_[key];
}

void FakeFileSystem::AddFile(const std::string& path, std::string data) {
  files_[Inode(path)] = std::move(data);
  times_[Inode(path)] = ++clock_;
}

void FakeFileSystem::AddFolder(const std::string& path) { folders_.insert(Key(path)); }

void FakeFileSystem::AddLink(const std::string& path, const std::string& target) { links_[Key(path)] = target; }

void FakeFileSystem::AddHardLink(const std::string& path, const std::string& existing) {
  hardLinks_[Key(path)] = Inode(existing);
}

void FakeFileSystem::AddSpecialFile(const std::string& path, TFileKind kind) { specials_[Key(path)] = kind; }

void FakeFileSystem::SetReadOnlyFolder(const std::string& path, bool readOnly) {
  if (readOnly) {
    readOnlyFolders_.insert(Key(path));
  } else {
    readOnlyFolders_.erase(Key(path));
  }
}

void FakeFileSystem::FailWritesTo(const std::string& path) { failingWrites_.insert(Key(path)); }

std::string FakeFileSystem::Contents(const std::string& path) const {
  auto it = files_.find(Inode(path));
  return it == files_.end() ? std::string() : it->second;
}

bool FakeFileSystem::FileExists(const std::string& path) {
  std::string key = Key(ResolveLink(path));
  return files_.count(Inode(key)) != 0 || specials_.count(key) != 0;
}

bool FakeFileSystem::FolderExists(const std::string& path) { return folders_.count(Key(ResolveLink(path))) != 0; }

bool FakeFileSystem::IsWritableFolder(const std::string& path) {
  return FolderExists(path) && readOnlyFolders_.count(Key(path)) == 0;
}

bool FakeFileSystem::CreateFolder(const std::string& path) {
  std::string key = Key(path);
  std::string parent = Parent(key);
  if (folders_.count(key) || files_.count(key) || !folders_.count(parent) || readOnlyFolders_.count(parent)) return false;
  folders_.insert(key);
  return true;
}

bool FakeFileSystem::CopyFile(const std::string& from, const std::string& to) {
  try {
    WriteFile(to, ReadRegularFile(from, INT64_MAX));
    return true;
  } catch (const EFileError&) {
    return false;
  }
}

std::vector<std::string> FakeFileSystem::ListFiles(const std::string& folder, const std::string& pattern) {
  std::set<std::string> names;
  std::string prefix = IncludeTrailingSlash(Key(folder));
  auto consider = [&](const std::string& path) {
    if (path.compare(0, prefix.size(), prefix) != 0) return;
    std::string name = path.substr(prefix.size());
    if (name.find('/') == std::string::npos && MatchesPattern(name, pattern)) names.insert(name);
  };
  for (const auto& [path, data] : files_) consider(path);
  for (const auto& [path, target] : hardLinks_) consider(path);
  for (const auto& [path, kind] : specials_) consider(path);
  return std::vector<std::string>(names.begin(), names.end());
}

bool FakeFileSystem::RemoveFile(const std::string& path) {
  const std::string key = Key(path);
  if (specials_.erase(key) != 0) return true;
  if (!files_.count(Inode(key))) return false;
  Unlink(key);
  files_.erase(key);
  return true;
}

bool FakeFileSystem::RenameFileNoReplace(const std::string& from, const std::string& to) {
  const std::string source = Key(from);
  const std::string target = Key(to);
  std::string parent = Parent(target);
  if (!files_.count(source) || files_.count(target) || folders_.count(target)) return false;
  // A path whose writes fail takes no renamed file either.
  if (!folders_.count(parent) || readOnlyFolders_.count(parent) || failingWrites_.count(target)) return false;
  files_[target] = files_[source];
  files_.erase(source);
  times_[target] = times_[source];
  return true;
}

int64_t FakeFileSystem::FileSize(const std::string& path) {
  std::string key = Key(ResolveLink(path));
  if (specials_.count(key)) return 0;
  auto it = files_.find(Inode(key));
  if (it == files_.end()) return -1;
  auto reported = reportedSizes_.find(Inode(key));
  return reported != reportedSizes_.end() ? reported->second : static_cast<int64_t>(it->second.size());
}

int64_t FakeFileSystem::FileTime(const std::string& path) {
  std::string key = Inode(Key(ResolveLink(path)));
  if (!files_.count(key)) return specials_.count(key) ? 0 : -1;
  auto it = times_.find(key);
  return it == times_.end() ? 0 : it->second;
}

int FakeFileSystem::FileMode(const std::string& path) {
  std::string key = Inode(Key(ResolveLink(path)));
  if (!files_.count(key)) return specials_.count(key) ? 0600 : -1;
  auto it = modes_.find(key);
  return it == modes_.end() ? 0644 : it->second;
}

TFileKind FakeFileSystem::FileKind(const std::string& path) {
  auto special = specials_.find(Key(ResolveLink(path)));
  if (special != specials_.end()) return special->second;
  if (FolderExists(path)) return TFileKind::Folder;
  return FileExists(path) ? TFileKind::Regular : TFileKind::Missing;
}

std::string FakeFileSystem::ReadFile(const std::string& path) {
  std::string key = Key(ResolveLink(path));
  if (specials_.count(key)) throw std::logic_error("FakeFileSystem: reading " + path + " as a stream never ends");
  auto it = files_.find(Inode(key));
  if (it == files_.end()) throw EFileError(EFileError::Kind::NotFound, path, ENOENT);
  return it->second;
}

void FakeFileSystem::WriteFile(const std::string& path, std::string_view data) {
  std::string key = Key(ResolveLink(path));
  if (specials_.count(key)) throw std::logic_error("FakeFileSystem: writing into " + path + " may never end");
  std::string parent = Parent(key);
  if (!folders_.count(parent)) throw EFileError(EFileError::Kind::Open, path, ENOENT);
  // The new file is made beside the old one: a folder that takes no new entry refuses it.
  if (readOnlyFolders_.count(parent)) throw EFileError(EFileError::Kind::Open, path, EACCES);
  if (failingWrites_.count(key) || failingWrites_.count(Inode(key))) {
    throw EFileError(EFileError::Kind::Write, path, ENOSPC);
  }
  // A new file takes the name: other names of the old one keep the old content.
  if (files_.count(Inode(key))) Unlink(key);
  files_[key] = std::string(data);
  times_[key] = ++clock_;
}

bool FakeFileSystem::ReplacesWhole(const std::string& path) {
  const std::string key = Key(ResolveLink(path));
  const std::string inode = Inode(key);
  if (!files_.count(inode)) return true;
  return !IsHardLinked(inode) && hardLinks_.count(key) == 0 && !foreignOwners_.count(inode) &&
         !readOnlyFolders_.count(Parent(key));
}

void FakeFileSystem::WriteFileInPlace(const std::string& path, std::string_view data) {
  const std::string key = Key(ResolveLink(path));
  const std::string inode = Inode(key);
  auto it = files_.find(inode);
  if (it == files_.end()) throw EFileError(EFileError::Kind::NotFound, path, ENOENT);
  // A file without its write bit cannot be opened for writing: untouched.
  auto mode = modes_.find(inode);
  if (mode != modes_.end() && (mode->second & 0200) == 0) throw EFileError(EFileError::Kind::Open, path, EACCES);
  ++inPlaceWrites_;
  times_[inode] = ++clock_;
  if (failingWrites_.count(key) || failingWrites_.count(inode)) {
    // What a write that stops part-way leaves: the file is neither old nor new.
    it->second = std::string(data.substr(0, data.size() / 2));
    throw EFileError(EFileError::Kind::Write, path, ENOSPC);
  }
  it->second = std::string(data);
}

std::string FakeFileSystem::ResolveLink(const std::string& path) {
  std::string current = path;
  for (int depth = 0; depth < 40; ++depth) {
    auto it = links_.find(Key(current));
    if (it == links_.end()) return current;
    current = it->second;
  }
  return current;
}

}  // namespace kerv
