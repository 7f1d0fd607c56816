#pragma once
// The program's error codes and their messages (UTF-8), shown by ShowErrorCode.

#include <optional>
#include <string>

namespace kerv {

class TKervExceptionStringMaker {
 public:
  // The message for code; argument, when given, is the one string it names.
  static std::string Make(int code, const std::optional<std::string>& argument = std::nullopt);
};

}  // namespace kerv
