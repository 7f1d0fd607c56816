#pragma once
// The command line: options, the file to open and the files for further windows.

#include <string>
#include <vector>

#include "app/TKervPlatform.h"

namespace kerv {

class TKervSystem;

class TKervParameter {
 public:
  // arguments are the process arguments after the program name; Parse runs here.
  TKervParameter(TKervSystem& system, std::vector<std::string> arguments);

  bool ReadOnly = false;
  int CharCode = 12;  // detect
  std::string EditModeName;
  bool JumpToEnd = false;
  int JumpLine = -1;
  bool ShowMinimized = false;
  bool ShowNormal = false;
  std::string FileName;
  // The Part's texts: every further argument, and every option, each followed by one blank.
  std::string RestFiles;
  std::string Options;

  // The same, one element per argument, so names with blanks survive the relaunch.
  std::vector<std::string> RestFileList;
  std::vector<std::string> OptionList;

  // Hands the further files (with this process's options) to a new process.
  void LaunchRest();

  // True when argument is to be read as an option rather than a name.
  static bool IsOption(IFileSystem& fs, const std::string& argument);
  // A start file this big is read once the window shows, with its progress
  // in the window (a read this long could not show it otherwise).
  static constexpr int64_t kShowWindowFirstBytes = int64_t{128} << 20;
  static bool ShowWindowFirst(IFileSystem& fs, const std::string& fileName);

 private:
  void Parse();
  void ParseOption(const std::string& argument);

  TKervSystem& system_;
  std::vector<std::string> arguments_;
};

}  // namespace kerv
