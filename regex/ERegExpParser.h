#pragma once
// The syntax error of a regular expression: a message of the engine's table
// and the 1-based byte position in the pattern where the scanner stood.

#include <stdexcept>
#include <string>

#include "regex/RegexMessages.h"

namespace kerv {

class ERegExpParser : public std::runtime_error {
 public:
  ERegExpParser(ERegexMessage message, int errorPosition)
      : std::runtime_error(RegexMessage(message)), message_(message), errorPosition_(errorPosition) {}
  ERegexMessage Message() const { return message_; }
  // 1-based; one past the last byte when the pattern ended too early. Kept
  // as an int so that positions in long patterns are not cut to 16 bits.
  int ErrorPosition() const { return errorPosition_; }

 private:
  ERegexMessage message_;
  int errorPosition_;
};

}  // namespace kerv
