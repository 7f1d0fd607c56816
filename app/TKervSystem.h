#pragma once
// The root object of one editor process: folders, platform services, error
// messages, and (as they are built) the managers and command objects.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/commands/TKervCommand.h"
#include "app/TKervPlatform.h"

namespace kerv {

class TKervSettingManager;

// True once the main window has begun to close; other windows then drop this one.
extern bool Closing;

class TKervSystem {
 public:
  explicit TKervSystem(TKervPlatform& platform);
  ~TKervSystem();
  TKervSystem(const TKervSystem&) = delete;
  TKervSystem& operator=(const TKervSystem&) = delete;

  // The one instance of the process (null before creation and after destruction).
  static TKervSystem* Instance();

  // Settles ProgramFolder and SettingFolder; false (after error 10021) when
  // no settings folder could be had.
  bool CheckStartup();

  // Whether the current document may be dropped; the window stays open on false.
  bool CanClose();
  // Saves what the first window keeps at exit, then marks the process closing.
  void PrepareClose();

  const std::string& ProgramFolder() const { return programFolder_; }
  const std::string& SettingFolder() const { return settingFolder_; }
  // The shipped data (edit modes, the user guide): the program's folder, or
  // "<prefix>/share/kerv/" once installed.
  const std::string& DataFolder() const { return dataFolder_; }
  std::string ProgramFilePath(const std::string& name) const { return programFolder_ + name; }
  std::string SettingFilePath(const std::string& name) const { return settingFolder_ + name; }

  static const char* ProductName() { return "KervEditor"; }
  static double Version() { return 5.0; }
  static std::string VersionString();

  // Starts this program again; each element is one argument.
  bool LaunchNewProcess(const std::vector<std::string>& arguments);
  bool ShellOpen(const std::string& file, const std::string& parameters);
  // Shows the message of an error code in an error box.
  void ShowErrorCode(int code, const std::optional<std::string>& argument = std::nullopt);

  TKervPlatform& Platform() { return platform_; }
  // The settings store of kerv.ini, there once CheckStartup passed.
  TKervSettingManager& SettingManager() { return *settings_; }
  bool HasSettingManager() const { return settings_ != nullptr; }

  // The command objects of the window, one per family; the window hands them
  // over as it creates them and has them freed before its controls go.
  template <typename T>
  T& SetCommand(TKervCommandFamily family, std::unique_ptr<T> command) {
    T& result = *command;
    commands_[static_cast<size_t>(family)] = std::move(command);
    return result;
  }
  TKervCommand* Command(TKervCommandFamily family) const { return commands_[static_cast<size_t>(family)].get(); }
  // In family order, the message handler and editor events last.
  void FreeCommands();

 private:
  std::unique_ptr<TKervSettingManager> settings_;
  std::array<std::unique_ptr<TKervCommand>, kCommandFamilyCount> commands_;
  TKervPlatform& platform_;
  std::string programFolder_;
  std::string settingFolder_;
  std::string dataFolder_;
};

}  // namespace kerv
