#include "kervtext/KervTextSupport.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

namespace kerv::cli {

std::string CliFileSystem::ReadFile(const std::string& path) {
  return PosixFileSystem::ReadFile(path == "-" ? "/dev/stdin" : path);
}

TFileBytes CliFileSystem::ReadFileBytes(const std::string& path) {
  return PosixFileSystem::ReadFileBytes(path == "-" ? "/dev/stdin" : path);
}

void CliFileSystem::WriteFile(const std::string& path, std::string_view data) {
  if (path != "-") {
    PosixFileSystem::WriteFile(path, data);
    return;
  }
  if (std::fwrite(data.data(), 1, data.size(), stdout) != data.size() || std::fflush(stdout) != 0) {
    throw EFileError(EFileError::Kind::Write, "standard output", std::strerror(errno));
  }
  // Closing a duplicate reports the errors that only the final close sees.
  int duplicate = ::dup(STDOUT_FILENO);
  if (duplicate >= 0 && ::close(duplicate) != 0) {
    throw EFileError(EFileError::Kind::Write, "standard output", std::strerror(errno));
  }
}

void PrintError(const char* command, const std::string& message) {
  std::fprintf(stderr, "kervtext %s: %s\n", command, message.c_str());
}

std::optional<TCharCode> ParseCharCode(const std::string& name, bool allowAuto) {
  struct CodeName {
    const char* name;
    TCharCode code;
  };
  static constexpr CodeName kCodes[] = {
      {"sjis", ccShiftJIS},     {"jis", ccJIS},   {"euc", ccEUC},     {"utf16le", ccUnicode},
      {"utf16be", ccUnicodeBE}, {"utf8", ccUTF8}, {"utf8n", ccUTF8N},
  };
  std::string lower = name;
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (allowAuto && lower == "auto") return ccAuto;
  for (const CodeName& entry : kCodes) {
    if (lower == entry.name) return entry.code;
  }
  return std::nullopt;
}

std::optional<int> ParseInt(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || ptr != end) return std::nullopt;
  return value;
}

bool SplitOption(const std::string& argument, std::string& name, std::string& value) {
  size_t equals = argument.find('=');
  if (argument.rfind("--", 0) != 0 || equals == std::string::npos) {
    name = argument;
    value.clear();
    return false;
  }
  name = argument.substr(0, equals);
  value = argument.substr(equals + 1);
  return true;
}

}  // namespace kerv::cli
