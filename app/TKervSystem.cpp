#include "app/TKervSystem.h"

#include <cstdio>

#include "app/TKervMessages.h"
#include "app/commands/TKervFileCommand.h"
#include "app/settings/TKervSettingManager.h"
#include "app/TKervUserMode.h"
#include "document/TKervExceptionStringMaker.h"

namespace kerv {

bool Closing = false;

namespace {
TKervSystem* g_instance = nullptr;
}

TKervSystem::TKervSystem(TKervPlatform& platform) : platform_(platform) {
  // Creation does no file work; CheckStartup does.
  g_instance = this;
  TKervCommand::SetProcessSystem(this);
}

TKervSystem::~TKervSystem() {
  FreeCommands();
  if (g_instance == this) {
    g_instance = nullptr;
    TKervCommand::SetProcessSystem(nullptr);
  }
}

void TKervSystem::FreeCommands() {
  for (auto& command : commands_) command.reset();
}

TKervSystem* TKervSystem::Instance() { return g_instance; }

std::string TKervSystem::VersionString() {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", Version());
  return std::string(buffer) + ".5";
}

bool TKervSystem::CheckStartup() {
  try {
    programFolder_ = IncludeTrailingSlash(platform_.fs.ExecutableFolder());
    dataFolder_ = DataFolderOf(platform_.fs, programFolder_);
    TKervUserMode userMode(platform_, programFolder_);
    settingFolder_ = userMode.GetSettingFolder();
  } catch (const std::exception&) {
    settingFolder_.clear();
  }
  if (settingFolder_.empty()) {
    ShowErrorCode(10021);
    return false;
  }
  settings_ = std::make_unique<TKervSettingManager>(platform_.fs, settingFolder_);
  return true;
}

bool TKervSystem::CanClose() {
  // The file command asks the file manager; without one there is no document to lose.
  auto* file = dynamic_cast<TKervFileCommand*>(Command(TKervCommandFamily::File));
  return file == nullptr || file->CanClose();
}

void TKervSystem::PrepareClose() { Closing = true; }

bool TKervSystem::LaunchNewProcess(const std::vector<std::string>& arguments) {
  return platform_.launcher.LaunchSelf(arguments);
}

bool TKervSystem::ShellOpen(const std::string& file, const std::string& parameters) {
  return platform_.launcher.ShellOpen(file, parameters);
}

void TKervSystem::ShowErrorCode(int code, const std::optional<std::string>& argument) {
  platform_.dialogs.MessageBox(messages::kCaptionError, TKervExceptionStringMaker::Make(code, argument),
                               IDialogs::Icon::Error, IDialogs::Buttons::Ok);
}

}  // namespace kerv
