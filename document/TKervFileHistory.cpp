#include "document/TKervFileHistory.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "document/DocumentMessages.h"
#include "document/TIniFile.h"

namespace kerv {
namespace {

constexpr const char* kNone = "None";

// Characters of a UTF-8 name (file names are shown as characters, not bytes).
size_t CharCount(const std::string& text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string EscapeAmpersands(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '&') escaped += '&';
    escaped += c;
  }
  return escaped;
}

}  // namespace

void TKervFileHistory::Add(const std::string& name) {
  auto it = std::find(names_.begin(), names_.end(), name);
  if (it != names_.end()) names_.erase(it);
  names_.insert(names_.begin(), name);
}

void TKervFileHistory::Read(const TIniFile& ini) {
  names_.clear();
  const int count = ini.ReadInteger(kSection, "Count", 0);
  for (const std::string& key : ini.NumberedKeys(kSection, "History", count)) {
    std::string name = ini.ReadString(kSection, key, kNone);
    if (name != kNone) names_.push_back(std::move(name));
  }
}

void TKervFileHistory::Write(TIniFile& ini) const {
  int count = std::min(static_cast<int>(names_.size()), kStoredMax);
  ini.WriteInteger(kSection, "Count", count);
  for (int i = 0; i < count; ++i) ini.WriteString(kSection, "History" + std::to_string(i), names_[static_cast<size_t>(i)]);
}

void TKervFileHistory::Erase(TIniFile& ini) { ini.EraseSection(kSection); }

std::vector<TKervFileHistory::TMenuEntry> TKervFileHistory::MenuEntries(int showCount) const {
  std::vector<TMenuEntry> entries;
  size_t shown = std::min(names_.size(), static_cast<size_t>(std::max(showCount, 0)));
  for (size_t i = 0; i < shown; ++i) {
    entries.push_back({"&" + std::to_string(i) + ":" + EscapeAmpersands(ShortName(names_[i])), names_[i], true});
  }
  if (entries.empty()) entries.push_back({DocumentMessage(TDocumentMessage::HistoryNone), std::string(), false});
  return entries;
}

std::string TKervFileHistory::ShortName(const std::string& name, size_t limit) {
  size_t slash = name.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
  const std::string file = slash == std::string::npos ? name : name.substr(slash + 1);
  // Folders are cut from the front, one per step; the ".../" put in front of
  // what is left is dropped again before the next cut.
  while (CharCount(folder + file) > limit && !folder.empty()) {
    if (folder == "/.../") {
      folder = ".../";
      continue;
    }
    if (folder == "/") {
      folder.clear();
      continue;
    }
    bool leadingSlash = folder[0] == '/';
    if (leadingSlash) folder.erase(0, 1);
    if (!folder.empty() && folder[0] == '.') folder.erase(0, std::min<size_t>(4, folder.size()));
    size_t next = folder.find('/');
    folder = next == std::string::npos ? std::string() : ".../" + folder.substr(next + 1);
    if (leadingSlash) folder.insert(0, "/");
  }
  return folder + file;
}

}  // namespace kerv
