#pragma once
// The failure of every image operation: a message of the converter's table,
// already formatted with its arguments (UTF-8), ready for an error box.

#include <initializer_list>
#include <stdexcept>
#include <string>

#include "image/ImageMessages.h"

namespace kerv {

class EImageError : public std::runtime_error {
 public:
  EImageError(TImageMessage message, std::initializer_list<std::string> arguments = {})
      : std::runtime_error(FormatImageMessage(message, arguments)), message_(message) {}
  // The message followed by a second line with the cause (a file error's own text).
  static EImageError WithCause(TImageMessage message, const std::string& cause) {
    return EImageError(Text{ImageMessage(message) + "\n" + cause}, message);
  }
  TImageMessage Message() const { return message_; }

 private:
  struct Text {
    std::string text;
  };
  EImageError(const Text& text, TImageMessage message) : std::runtime_error(text.text), message_(message) {}
  TImageMessage message_;
};

}  // namespace kerv
