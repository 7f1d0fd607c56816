#pragma once
// Which edit mode belongs to which file extension: the lines "ext=mode" of
// editmode.ini (Shift_JIS, no section header), in file order. Extensions are
// stored without their dot, as entered, and compare without regard to case;
// one extension names one mode.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/FileSystem.h"

namespace kerv {

struct TKervEditModeAssociation {
  std::string ext;
  std::string mode;
  bool operator==(const TKervEditModeAssociation&) const = default;
};

class TKervEditModeAssociationList {
 public:
  using Iterator = std::vector<TKervEditModeAssociation>::const_iterator;

  // Clears the list and reads path when it exists; raises EFileError when it
  // cannot be read or is no regular file of a settings file's size.
  void Load(IFileSystem& fs, const std::string& path);
  // Clears the list and reads the lines of text: each split at its first "=".
  // Linear in the lines: a later line for an extension replaces the mode in place.
  void LoadText(std::string_view text);
  // Writes the list whole (through a temporary file); raises EFileError.
  void Save(IFileSystem& fs, const std::string& path) const;
  std::string Text() const;

  // The mode of ext (without its dot), or empty.
  std::string ModeOfExt(const std::string& ext) const;
  // The mode for a file name's extension, or empty.
  std::string ModeOf(const std::string& fileName) const { return ModeOfExt(ExtensionOf(fileName)); }
  // Adds the pair when ext is new, otherwise replaces its mode in place.
  void Put(const std::string& ext, const std::string& mode);
  void Delete(const std::string& ext);
  void Clear() {
    pairs_.clear();
    index_.clear();
  }
  int Count() const { return static_cast<int>(pairs_.size()); }
  const TKervEditModeAssociation& Items(int index) const { return pairs_.at(static_cast<size_t>(index)); }
  Iterator begin() const { return pairs_.begin(); }
  Iterator end() const { return pairs_.end(); }

  // The part of a file name from its last dot, without the dot; empty when
  // there is none or only the dot. Folders in the path do not count.
  static std::string ExtensionOf(const std::string& fileName);

 private:
  int IndexOf(const std::string& ext) const;

  std::vector<TKervEditModeAssociation> pairs_;
  // Folded extension -> its pair: a list of many lines loads without quadratic scans.
  std::unordered_map<std::string, size_t> index_;
};

using TKervEditModeAssociationListIterator = TKervEditModeAssociationList::Iterator;

}  // namespace kerv
