#pragma once
#include "platform/Launcher.h"

namespace kerv {

// Starts processes with QProcess and opens documents with the desktop's URL opener.
class QtLauncher : public ILauncher {
 public:
  bool LaunchSelf(const std::vector<std::string>& arguments) override;
  bool ShellOpen(const std::string& target, const std::string& parameters) override;
  bool StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                    std::string& error) override;
};

}  // namespace kerv
