#pragma once
// The failures of printing that the user must be told about: settings that
// leave no room to lay out a row, and a print job that could not be drawn.

#include <stdexcept>

#include "print/PrintMessages.h"

namespace kerv {

class EPrintError : public std::runtime_error {
 public:
  explicit EPrintError(TPrintMessage message) : std::runtime_error(PrintMessage(message)), message_(message) {}
  TPrintMessage Message() const { return message_; }

 private:
  TPrintMessage message_;
};

}  // namespace kerv
