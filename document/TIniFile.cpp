#include "document/TIniFile.h"

#include <algorithm>
#include <charconv>

#include "platform/CodePage.h"

namespace kerv {
namespace {

// Blanks and control bytes at either end go, as every settings reader trims.
std::string Trim(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return std::string(text.substr(begin, end - begin));
}

}  // namespace

TIniFile::TIniFile(IFileSystem& fs, std::string path, bool) : fs_(&fs), path_(std::move(path)) {}

std::string TIniFile::ReadSettingsFile(IFileSystem& fs, const std::string& path) {
  return fs.ReadRegularFile(path, kMaxFileBytes);
}

TIniFile::TIniFile(IFileSystem& fs, std::string path) : fs_(&fs), path_(std::move(path)) {
  if (fs_->FileKind(path_) != TFileKind::Missing) Parse(ReadSettingsFile(*fs_, path_));
}

TIniFile TIniFile::FromText(IFileSystem& fs, std::string path, const std::string& text) {
  TIniFile ini(fs, std::move(path), true);
  ini.Parse(text);
  return ini;
}

bool TIniFile::SameName(const std::string& a, const std::string& b) { return EqualsIgnoringAsciiCase(a, b); }

std::string TIniFile::Folded(const std::string& name) { return FoldedAsciiCase(name); }

void TIniFile::Section::Reindex() {
  keyIndex.clear();
  for (size_t i = 0; i < entries.size(); ++i) keyIndex.emplace(Folded(entries[i].key), i);
}

TIniFile::Section& TIniFile::AddSection(const std::string& name) {
  sectionIndex_.emplace(Folded(name), sections_.size());
  sections_.push_back({name, {}, {}});
  return sections_.back();
}

void TIniFile::ReindexSections() {
  sectionIndex_.clear();
  for (size_t i = 0; i < sections_.size(); ++i) sectionIndex_.emplace(Folded(sections_[i].name), i);
}

void TIniFile::Parse(const std::string& text) {
  Section* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    std::string line = Trim(std::string_view(text).substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;

    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      size_t close = line.find(']');
      std::string name = Trim(std::string_view(line).substr(1, close == std::string::npos ? std::string::npos : close - 1));
      current = FindSection(name);
      if (current == nullptr) current = &AddSection(name);
      continue;
    }
    size_t equal = line.find('=');
    if (equal == std::string::npos || current == nullptr) continue;
    std::string key = Trim(std::string_view(line).substr(0, equal));
    std::string value = Trim(std::string_view(line).substr(equal + 1));
    if (key.empty()) continue;
    // The first occurrence of a key is the one read; later duplicates are dropped.
    if (current->keyIndex.emplace(Folded(key), current->entries.size()).second) {
      current->entries.push_back({std::move(key), std::move(value)});
    }
  }
}

const TIniFile::Section* TIniFile::FindSection(const std::string& name) const {
  auto found = sectionIndex_.find(Folded(name));
  return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

TIniFile::Section* TIniFile::FindSection(const std::string& name) {
  return const_cast<Section*>(static_cast<const TIniFile*>(this)->FindSection(name));
}

const TIniFile::Entry* TIniFile::FindEntry(const std::string& section, const std::string& key) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return nullptr;
  auto entry = found->keyIndex.find(Folded(key));
  return entry == found->keyIndex.end() ? nullptr : &found->entries[entry->second];
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const {
  const Entry* entry = FindEntry(section, key);
  return entry ? entry->value : defaultValue;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const {
  const Entry* entry = FindEntry(section, key);
  if (entry == nullptr) return defaultValue;
  const std::string& text = entry->value;
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  if (begin != end && *begin == '+') ++begin;
  int value = 0;
  auto [ptr, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || ptr != end || begin == end) return defaultValue;
  return value;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  Section* found = FindSection(section);
  if (found == nullptr) found = &AddSection(section);
  modified_ = true;
  auto [it, added] = found->keyIndex.emplace(Folded(key), found->entries.size());
  if (!added) {
    found->entries[it->second].value = value;
    return;
  }
  found->entries.push_back({key, value});
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::SectionExists(const std::string& section) const { return FindSection(section) != nullptr; }

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  return FindEntry(section, key) != nullptr;
}

std::vector<std::string> TIniFile::ReadSections() const {
  std::vector<std::string> names;
  for (const Section& section : sections_) names.push_back(section.name);
  return names;
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
  std::vector<std::string> keys;
  if (const Section* found = FindSection(section)) {
    for (const Entry& entry : found->entries) keys.push_back(entry.key);
  }
  return keys;
}

void TIniFile::EraseSection(const std::string& section) {
  for (auto it = sections_.begin(); it != sections_.end(); ++it) {
    if (SameName(it->name, section)) {
      sections_.erase(it);
      ReindexSections();
      modified_ = true;
      return;
    }
  }
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  Section* found = FindSection(section);
  if (found == nullptr) return;
  for (auto it = found->entries.begin(); it != found->entries.end(); ++it) {
    if (SameName(it->key, key)) {
      found->entries.erase(it);
      found->Reindex();
      modified_ = true;
      return;
    }
  }
}

std::string TIniFile::Text() const {
  std::string text;
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += "[" + sections_[i].name + "]\r\n";
    for (const Entry& entry : sections_[i].entries) text += entry.key + "=" + entry.value + "\r\n";
  }
  return text;
}

void TIniFile::UpdateFile() {
  const TFileKind kind = fs_->FileKind(path_);
  if (kind != TFileKind::Missing && kind != TFileKind::Regular) {
    throw EFileError(EFileError::Kind::NotRegular, path_, "not a regular file");
  }
  fs_->WriteFile(path_, Text());
  modified_ = false;
}

std::vector<std::string> TIniFile::NumberedKeys(const std::string& section, const std::string& prefix,
                                                int count) const {
  // The number after prefix: plain decimal digits, no leading zero, -1 otherwise.
  auto numberOf = [&prefix](const std::string& key) {
    if (key.size() <= prefix.size() || key.size() > prefix.size() + 9) return -1;
    if (!SameName(key.substr(0, prefix.size()), prefix)) return -1;
    const std::string digits = key.substr(prefix.size());
    if (digits.size() > 1 && digits[0] == '0') return -1;
    int index = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return -1;
      index = index * 10 + (c - '0');
    }
    return index;
  };
  std::vector<std::pair<int, std::string>> numbered;
  if (count <= 0) return {};
  for (const std::string& key : ReadSection(section)) {
    const int index = numberOf(key);
    if (index >= 0 && index < count) numbered.emplace_back(index, key);
  }
  std::stable_sort(numbered.begin(), numbered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> keys;
  int lastIndex = -1;
  for (auto& [index, key] : numbered) {
    if (index == lastIndex) continue;
    lastIndex = index;
    keys.push_back(std::move(key));
  }
  return keys;
}

}  // namespace kerv
