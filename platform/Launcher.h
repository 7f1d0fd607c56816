#pragma once
// Starting programs: this program again, or whatever the desktop associates with a file.

#include <string>
#include <vector>

namespace kerv {

class ILauncher {
 public:
  virtual ~ILauncher() = default;
  // Starts the program's own executable; every element is one argument.
  virtual bool LaunchSelf(const std::vector<std::string>& arguments) = 0;
  // Opens a file, folder or URL with the desktop's associated program. With
  // parameters, target is started as a program with them instead.
  virtual bool ShellOpen(const std::string& target, const std::string& parameters) = 0;
  // Starts program with exactly these arguments, each one whole, without a
  // shell and without waiting for it. False when it did not start; error
  // then holds the system's reason (UTF-8, may be empty).
  virtual bool StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                            std::string& error) = 0;
};

}  // namespace kerv
