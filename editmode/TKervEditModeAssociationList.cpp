#include "editmode/TKervEditModeAssociationList.h"

#include "document/TIniFile.h"
#include "platform/CodePage.h"

namespace kerv {

void TKervEditModeAssociationList::Load(IFileSystem& fs, const std::string& path) {
  Clear();
  if (fs.FileKind(path) == TFileKind::Missing) return;
  LoadText(TIniFile::ReadSettingsFile(fs, path));
}

void TKervEditModeAssociationList::LoadText(std::string_view text) {
  Clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    size_t equal = line.find('=');
    // Lines that name no extension associate nothing.
    if (equal == std::string_view::npos || equal == 0) continue;
    Put(std::string(line.substr(0, equal)), std::string(line.substr(equal + 1)));
  }
}

std::string TKervEditModeAssociationList::Text() const {
  std::string text;
  for (const TKervEditModeAssociation& pair : pairs_) text += pair.ext + "=" + pair.mode + "\r\n";
  return text;
}

void TKervEditModeAssociationList::Save(IFileSystem& fs, const std::string& path) const { fs.WriteFile(path, Text()); }

int TKervEditModeAssociationList::IndexOf(const std::string& ext) const {
  auto found = index_.find(FoldedAsciiCase(ext));
  return found == index_.end() ? -1 : static_cast<int>(found->second);
}

std::string TKervEditModeAssociationList::ModeOfExt(const std::string& ext) const {
  if (ext.empty()) return std::string();
  int index = IndexOf(ext);
  return index < 0 ? std::string() : pairs_[static_cast<size_t>(index)].mode;
}

void TKervEditModeAssociationList::Put(const std::string& ext, const std::string& mode) {
  int index = IndexOf(ext);
  if (index >= 0) {
    pairs_[static_cast<size_t>(index)].mode = mode;
  } else {
    index_.emplace(FoldedAsciiCase(ext), pairs_.size());
    pairs_.push_back({ext, mode});
  }
}

void TKervEditModeAssociationList::Delete(const std::string& ext) {
  int index = IndexOf(ext);
  if (index < 0) return;
  pairs_.erase(pairs_.begin() + index);
  index_.clear();
  for (size_t i = 0; i < pairs_.size(); ++i) index_.emplace(FoldedAsciiCase(pairs_[i].ext), i);
}

std::string TKervEditModeAssociationList::ExtensionOf(const std::string& fileName) {
  std::string ext = ExtractFileExt(fileName);
  return ext.size() > 1 ? ext.substr(1) : std::string();
}

}  // namespace kerv
