#include "platform/MessageTable.h"

namespace kerv {

std::string FillMessage(std::string_view pattern, std::initializer_list<std::string> arguments) {
  const std::vector<std::string> values(arguments);
  std::string text;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
      const size_t index = static_cast<size_t>(pattern[i + 1] - '1');
      if (index < values.size()) text += values[index];
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

}  // namespace kerv
