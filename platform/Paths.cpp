#include "platform/FileSystem.h"

#include <vector>

namespace kerv {

EFileError::EFileError(Kind kind, std::string path, const std::string& reason)
    : std::runtime_error(path.empty() ? reason : path + ": " + reason), kind_(kind), path_(std::move(path)) {}

TFileBytes IFileSystem::ReadFileBytes(const std::string& path) {
  auto data = std::make_shared<std::string>(ReadFile(path));
  TFileBytes file;
  file.size = data->size();
  file.data = std::shared_ptr<const char>(data, data->data());
  return file;
}

std::string IncludeTrailingSlash(const std::string& folder) {
  if (folder.empty() || folder.back() == '/') return folder;
  return folder + '/';
}

std::string ExtractFileName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtractFileFolder(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtractFileExt(const std::string& path) {
  std::string name = ExtractFileName(path);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string AbsolutePath(const std::string& name, const std::string& base) {
  std::string joined = (!name.empty() && name[0] == '/') ? name : IncludeTrailingSlash(base) + name;
  std::vector<std::string> parts;
  size_t i = 0;
  while (i <= joined.size()) {
    size_t next = joined.find('/', i);
    if (next == std::string::npos) next = joined.size();
    std::string part = joined.substr(i, next - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(std::move(part));
    }
    i = next + 1;
  }
  std::string result;
  for (const std::string& part : parts) result += '/' + part;
  if (result.empty()) return "/";
  // A name that named a folder with a trailing '/' keeps it.
  if (joined.back() == '/') result += '/';
  return result;
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  // Iterative glob with single-star backtracking: linear in practice, no recursion.
  size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace kerv
