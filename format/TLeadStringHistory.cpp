#include "format/TLeadStringHistory.h"

#include <algorithm>

#include "document/TIniFile.h"
#include "format/TCharTables.h"

namespace kerv {
namespace {

// A damaged Count must not make reading walk billions of keys.
constexpr int kMaxReadItems = 1000;

std::string ItemKey(size_t index) { return "LS" + std::to_string(index); }

}  // namespace

void TLeadStringHistory::Read(const TIniFile& ini) {
  items_.clear();
  int count = std::clamp(ini.ReadInteger(kSection, "Count", 0), 0, kMaxReadItems);
  for (int i = 0; i < count; ++i) {
    std::string item = ini.ReadString(kSection, ItemKey(static_cast<size_t>(i)), "");
    if (!item.empty()) items_.push_back(std::move(item));
  }
}

void TLeadStringHistory::Write(TIniFile& ini) const {
  ini.EraseSection(kSection);
  size_t count = std::min(items_.size(), kMaxWrittenItems);
  ini.WriteInteger(kSection, "Count", static_cast<int>(count));
  for (size_t i = 0; i < count; ++i) ini.WriteString(kSection, ItemKey(i), items_[i]);
}

void TLeadStringHistory::Add(const std::string& typed) {
  if (typed.empty()) return;
  auto same = std::find_if(items_.begin(), items_.end(),
                           [&](const std::string& item) { return TIniFile::SameName(item, typed); });
  if (same != items_.end()) std::rotate(items_.begin(), same, same + 1);
  else items_.insert(items_.begin(), typed);
}

std::string TLeadStringHistory::Expand(std::string_view typed) {
  std::string out;
  out.reserve(typed.size());
  for (size_t i = 0; i < typed.size();) {
    size_t len = SjisCharBytes(typed, i);
    if (len == 1 && typed[i] == '\\' && i + 1 < typed.size()) {
      const char* replacement = nullptr;
      switch (typed[i + 1]) {
        case 's': replacement = " "; break;
        case 't': replacement = "\t"; break;
        case 'n': replacement = "\r\n"; break;
        default: break;
      }
      if (replacement != nullptr) {
        out += replacement;
        i += 2;
        continue;
      }
    }
    out.append(typed.substr(i, len));
    i += len;
  }
  return out;
}

}  // namespace kerv
