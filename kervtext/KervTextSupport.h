#pragma once
// What every kervtext command shares: files where "-" is standard input or
// output, a file manager whose questions the options answer, and messages.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "document/CharCode.h"
#include "document/TFileManager.h"
#include "platform/posix/IconvCodePage.h"
#include "platform/posix/PosixFileSystem.h"

namespace kerv::cli {

// "-" is standard input and standard output; everything else is a file.
// Only regular files are read by name: a pipe or a device named on the
// command line is refused (its reading might never end). convert opens a
// FIFO given as IN itself (OpenStream).
class CliFileSystem : public PosixFileSystem {
 public:
  std::string ReadFile(const std::string& path) override;
  std::string ReadRegularFile(const std::string& path, int64_t maxBytes) override;
  TFileBytes ReadFileBytes(const std::string& path) override;
  // Standard output is written in place and checked to its final close.
  void WriteFile(const std::string& path, std::string_view data) override;
  bool FileExists(const std::string& path) override { return path == "-" || PosixFileSystem::FileExists(path); }
  // Whether two names are one file (a link, another spelling); "-" is no file.
  bool SameFile(const std::string& a, const std::string& b);
};

// No window: nothing is shown and nothing is asked.
class NoDialogs : public IDialogs {
 public:
  void ShowStandardError(const std::string&) override {}
  bool AskYesNo(const std::string&, Icon) override { return true; }
  Answer MessageBox(const std::string&, const std::string&, Icon, Buttons) override { return Answer::Ok; }
  void Beep(Icon) override {}
};

// The file manager's questions, answered by the command's options.
class CliFileManager : public TFileManager {
 public:
  CliFileManager(IFileSystem& fs, ICodePage& codePage, IDialogs& dialogs, bool ambiguousIsEuc)
      : TFileManager(fs, codePage, dialogs), ambiguousIsEuc_(ambiguousIsEuc) {}
  bool AskSpecialChars() override { return false; }
  bool AskSJISOrEUC() override { return ambiguousIsEuc_; }

 private:
  bool ambiguousIsEuc_;
};

// Platform objects for one command run.
struct CliPlatform {
  CliFileSystem fs;
  IconvCodePage codePage;
  NoDialogs dialogs;
};

// "kervtext COMMAND: message" on standard error.
void PrintError(const char* command, const std::string& message);
// One "warning:" line for each thing a load of shownName could not keep;
// notDone says what became of the rest of a text cut short ("searched").
void PrintLoadWarnings(const char* command, const std::string& shownName, const TLoadReport& report,
                       const char* notDone);
// "1 character", "2 characters".
std::string Plural(size_t count, const char* what);
// Parses a whole decimal; nullopt for anything else.
std::optional<int> ParseInt(const std::string& text);
// A code named on the command line (sjis jis euc utf16le utf16be utf8 utf8n,
// any case; "auto" too when allowAuto); nullopt for any other name.
std::optional<TCharCode> ParseCharCode(const std::string& name, bool allowAuto);
// Splits "--name=value" into name and value.
bool SplitOption(const std::string& argument, std::string& name, std::string& value);

}  // namespace kerv::cli
