#include "search/TKervSearchHistory.h"

#include <algorithm>

#include "platform/CodePage.h"

namespace kerv {

std::string TKervSearchHistory::EntryOf(std::string_view word) {
  size_t lineBreak = word.find_first_of("\r\n");
  return std::string(word.substr(0, lineBreak));
}

bool TKervSearchHistory::Add(std::string_view word) {
  std::string entry = EntryOf(word);
  if (entry.empty()) return false;
  // The boxes find items regardless of letter case, so such items are one.
  auto same = std::find_if(items_.begin(), items_.end(),
                           [&](const std::string& item) { return EqualsIgnoringAsciiCase(item, entry); });
  if (same != items_.end()) items_.erase(same);
  items_.insert(items_.begin(), std::move(entry));
  if (items_.size() > static_cast<size_t>(kMaxItems)) items_.resize(kMaxItems);
  return true;
}

void TKervSearchHistory::Assign(const std::vector<std::string>& items) {
  items_.clear();
  for (auto it = items.rbegin(); it != items.rend(); ++it) Add(*it);
}

}  // namespace kerv
