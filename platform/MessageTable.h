#pragma once
// A subsystem's table of the texts it shows, looked up by id, and "%1".."%9"
// in a text filled in. Each subsystem keeps its texts in one table of
// (id, text) entries; this is how every table is read.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kerv {

template <typename Id>
struct TMessageEntry {
  Id id;
  const char* text;
};

// The text of id (empty for an id the table lacks). The strings are built
// once, so callers may keep references to them.
template <typename Id, size_t N>
const std::string& MessageText(const TMessageEntry<Id> (&table)[N], Id id) {
  static const std::vector<std::string> texts = [&table] {
    std::vector<std::string> result(N);
    for (const TMessageEntry<Id>& entry : table) {
      const size_t index = static_cast<size_t>(entry.id);
      if (index >= result.size()) result.resize(index + 1);
      result[index] = entry.text;
    }
    return result;
  }();
  const size_t index = static_cast<size_t>(id);
  static const std::string kNone;
  return index < texts.size() ? texts[index] : kNone;
}

// pattern with "%1".."%9" replaced by the arguments (one that is not given by nothing).
std::string FillMessage(std::string_view pattern, std::initializer_list<std::string> arguments);

}  // namespace kerv
