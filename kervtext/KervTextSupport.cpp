#include "kervtext/KervTextSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

namespace kerv::cli {

std::string CliFileSystem::ReadFile(const std::string& path) {
  return PosixFileSystem::ReadFile(path == "-" ? "/dev/stdin" : path);
}

std::string CliFileSystem::ReadRegularFile(const std::string& path, int64_t maxBytes) {
  // Standard input is read to its end.
  if (path == "-") return PosixFileSystem::ReadFile("/dev/stdin");
  return PosixFileSystem::ReadRegularFile(path, maxBytes);
}

TFileBytes CliFileSystem::ReadFileBytes(const std::string& path) {
  if (path == "-") return PosixFileSystem::ReadFileBytes("/dev/stdin");
  if (FileKind(path) != TFileKind::Regular) {
    // Raises the error of the name: missing, or no regular file.
    PosixFileSystem::ReadRegularFile(path, 0);
  }
  return PosixFileSystem::ReadFileBytes(path);
}

void CliFileSystem::WriteFile(const std::string& path, std::string_view data) {
  if (path != "-") {
    PosixFileSystem::WriteFile(path, data);
    return;
  }
  if (std::fwrite(data.data(), 1, data.size(), stdout) != data.size() || std::fflush(stdout) != 0) {
    throw EFileError(EFileError::Kind::Write, "standard output", errno);
  }
  // Closing a duplicate reports the errors that only the final close sees.
  int duplicate = ::dup(STDOUT_FILENO);
  if (duplicate >= 0 && ::close(duplicate) != 0) {
    throw EFileError(EFileError::Kind::Write, "standard output", errno);
  }
}

bool CliFileSystem::SameFile(const std::string& a, const std::string& b) {
  if (a == "-" || b == "-") return false;
  if (a == b) return true;
  struct stat first, second;
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

void PrintError(const char* command, const std::string& message) {
  std::fprintf(stderr, "kervtext %s: %s\n", command, message.c_str());
}

std::string Plural(size_t count, const char* what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

void PrintLoadWarnings(const char* command, const std::string& shownName, const TLoadReport& report,
                       const char* notDone) {
  const std::string head = "warning: " + shownName + ": ";
  if (report.replaced != 0) {
    PrintError(command, head + Plural(report.replaced, "character") + " with no Shift_JIS form became '?' (first on line " +
                            std::to_string(report.firstReplacedLine) + ")");
  }
  if (report.endedAtOffset >= 0) {
    PrintError(command, head + (report.endedAtEof ? "an end-of-file byte (0x1A)" : "a zero byte (0x00)") +
                            " on line " + std::to_string(report.endedAtLine) + " ends the text; the rest was not " +
                            notDone);
  }
  if (report.blanked != 0) {
    PrintError(command, head + Plural(report.blanked, "control byte") + " (0x00-0x07) became " +
                            (report.blanked == 1 ? "a blank" : "blanks") + " (first on line " +
                            std::to_string(report.firstBlankedLine) + ")");
  }
  if (report.oddLastByte) PrintError(command, head + "the odd last byte, half a UTF-16 character, was dropped");
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
