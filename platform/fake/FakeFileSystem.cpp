#include "platform/fake/FakeFileSystem.h"

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

void FakeFileSystem::AddFile(const std::string& path, std::string data) {
  files_[Key(path)] = std::move(data);
  times_[Key(path)] = ++clock_;
}

void FakeFileSystem::AddFolder(const std::string& path) { folders_.insert(Key(path)); }

void FakeFileSystem::AddLink(const std::string& path, const std::string& target) { links_[Key(path)] = target; }

void FakeFileSystem::SetReadOnlyFolder(const std::string& path, bool readOnly) {
  if (readOnly) {
    readOnlyFolders_.insert(Key(path));
  } else {
    readOnlyFolders_.erase(Key(path));
  }
}

void FakeFileSystem::FailWritesTo(const std::string& path) { failingWrites_.insert(Key(path)); }

std::string FakeFileSystem::Contents(const std::string& path) const {
  auto it = files_.find(Key(path));
  return it == files_.end() ? std::string() : it->second;
}

bool FakeFileSystem::FileExists(const std::string& path) { return files_.count(Key(ResolveLink(path))) != 0; }

bool FakeFileSystem::FolderExists(const std::string& path) { return folders_.count(Key(ResolveLink(path))) != 0; }

bool FakeFileSystem::IsWritableFolder(const std::string& path) {
  return FolderExists(path) && readOnlyFolders_.count(Key(path)) == 0;
}

bool FakeFileSystem::CreateFolder(const std::string& path) {
  std::string key = Key(path);
  std::string parent = Key(ExtractFileFolder(key));
  if (parent.empty()) parent.assign(1, '/');  // (assigning "/" trips a false -Wrestrict at -O3)
  if (folders_.count(key) || files_.count(key) || !folders_.count(parent) || readOnlyFolders_.count(parent)) return false;
  folders_.insert(key);
  return true;
}

bool FakeFileSystem::CopyFile(const std::string& from, const std::string& to) {
  try {
    WriteFile(to, ReadFile(from));
    return true;
  } catch (const EFileError&) {
    return false;
  }
}

std::vector<std::string> FakeFileSystem::ListFiles(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  std::string prefix = IncludeTrailingSlash(Key(folder));
  for (const auto& [path, data] : files_) {
    if (path.compare(0, prefix.size(), prefix) != 0) continue;
    std::string name = path.substr(prefix.size());
    if (name.find('/') == std::string::npos && MatchesPattern(name, pattern)) names.push_back(name);
  }
  return names;
}

bool FakeFileSystem::RemoveFile(const std::string& path) { return files_.erase(Key(path)) != 0; }

bool FakeFileSystem::RenameFileNoReplace(const std::string& from, const std::string& to) {
  const std::string source = Key(from);
  const std::string target = Key(to);
  std::string parent = Key(ExtractFileFolder(target));
  if (parent.empty()) parent.assign(1, '/');
  if (!files_.count(source) || files_.count(target) || folders_.count(target)) return false;
  // A path whose writes fail takes no renamed file either.
  if (!folders_.count(parent) || readOnlyFolders_.count(parent) || failingWrites_.count(target)) return false;
  files_[target] = files_[source];
  files_.erase(source);
  times_[target] = times_[source];
  return true;
}

int64_t FakeFileSystem::FileSize(const std::string& path) {
  auto it = files_.find(Key(ResolveLink(path)));
  return it == files_.end() ? -1 : static_cast<int64_t>(it->second.size());
}

int64_t FakeFileSystem::FileTime(const std::string& path) {
  std::string key = Key(ResolveLink(path));
  if (!files_.count(key)) return -1;
  auto it = times_.find(key);
  return it == times_.end() ? 0 : it->second;
}

int FakeFileSystem::FileMode(const std::string& path) {
  std::string key = Key(ResolveLink(path));
  if (!files_.count(key)) return -1;
  auto it = modes_.find(key);
  return it == modes_.end() ? 0644 : it->second;
}

std::string FakeFileSystem::ReadFile(const std::string& path) {
  auto it = files_.find(Key(ResolveLink(path)));
  if (it == files_.end()) throw EFileError(EFileError::Kind::NotFound, path, "No such file or directory");
  return it->second;
}

void FakeFileSystem::WriteFile(const std::string& path, std::string_view data) {
  std::string key = Key(ResolveLink(path));
  std::string parent = Key(ExtractFileFolder(key));
  if (parent.empty()) parent.assign(1, '/');  // (assigning "/" trips a false -Wrestrict at -O3)
  if (!folders_.count(parent)) throw EFileError(EFileError::Kind::Open, path, "No such file or directory");
  if (readOnlyFolders_.count(parent) || failingWrites_.count(key)) {
    throw EFileError(EFileError::Kind::Write, path, "No space left on device");
  }
  files_[key] = std::string(data);
  times_[key] = ++clock_;
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
