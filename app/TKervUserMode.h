#pragma once
// Decides which folder holds the settings files and seeds a new one.

#include <string>

#include "app/TKervPlatform.h"

namespace kerv {

// Where the program's shipped data lies: "<prefix>/share/kerv/" for a program
// installed as "<prefix>/bin/kerv", else the program's own folder (a build
// tree or a portable folder). Both end with '/'.
std::string DataFolderOf(IFileSystem& fs, const std::string& programFolder);

class TKervUserMode {
 public:
  TKervUserMode(TKervPlatform& platform, std::string programFolder);

  // The settings folder with a trailing '/', or empty when none could be had
  // (the failure has been shown to the user).
  std::string GetSettingFolder();
  // Creates folder (one level) unless it exists and copies the default
  // settings files of source into it. False, after telling the user, when
  // the folder cannot be created.
  bool PrepareFolder(const std::string& folder, const std::string& source);

  const std::string& SettingPath() const { return settingPath_; }

 private:
  std::string PerUserFolder();
  std::string FixedFolder();
  std::string InstalledFolder();

  TKervPlatform& platform_;
  std::string programFolder_;
  std::string settingPath_;
};

}  // namespace kerv
