#pragma once
// Settings files: ini-style text in Shift_JIS, read whole into memory and
// written back whole. Section and key names match without regard to the case
// of their single-byte letters; values are byte strings.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace kerv {

class TIniFile {
 public:
  // Settings files are small: one bigger than this is damage, and is refused
  // like a pipe or a device in its place, whose reading might never end.
  // Every reader of a settings file keeps to it.
  static constexpr int64_t kMaxFileBytes = 16 * 1024 * 1024;
  // The bytes of a settings file: a regular file of at most kMaxFileBytes;
  // anything else raises EFileError.
  static std::string ReadSettingsFile(IFileSystem& fs, const std::string& path);

  // Reads the file; a missing file reads as empty. Other read errors throw
  // EFileError, and so does what ReadSettingsFile refuses.
  TIniFile(IFileSystem& fs, std::string path);
  // Parses text instead of a file (UpdateFile then writes to path).
  static TIniFile FromText(IFileSystem& fs, std::string path, const std::string& text);

  const std::string& FileName() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
  // Decimal with an optional sign; a missing key or an unreadable number gives the default.
  int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
  // Read as an integer, any non-zero value being true.
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;
  std::vector<std::string> ReadSections() const;
  std::vector<std::string> ReadSection(const std::string& section) const;  // the keys, in file order
  // The keys prefix + 0 ... prefix + (count - 1) that are there, in number
  // order, read from the section's keys rather than looked up one by one (a
  // damaged count of billions costs nothing); of two spellings of one key
  // ("SH1", "sh1") the first in the file.
  std::vector<std::string> NumberedKeys(const std::string& section, const std::string& prefix, int count) const;
  void EraseSection(const std::string& section);
  void DeleteKey(const std::string& section, const std::string& key);

  bool Modified() const { return modified_; }
  // The whole file as it would be written: sections in order, "key=value", CR LF line ends.
  std::string Text() const;
  // Writes the file back whole through a temporary file, so a failure never
  // leaves a half-written settings file. A pipe or a device in the file's
  // place is refused, not written into. Throws EFileError.
  void UpdateFile();

  // Case-insensitive name comparison that folds single-byte letters only (a
  // trail byte of a double-byte character is never folded).
  static bool SameName(const std::string& a, const std::string& b);

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
    // Folded key -> entry: a damaged file of many keys reads without quadratic scans.
    std::map<std::string, size_t> keyIndex;
    void Reindex();
  };
  // The name as SameName compares it: single-byte letters folded, double-byte characters kept.
  static std::string Folded(const std::string& name);
  Section& AddSection(const std::string& name);
  void ReindexSections();

  TIniFile(IFileSystem& fs, std::string path, bool);
  void Parse(const std::string& text);
  const Section* FindSection(const std::string& name) const;
  Section* FindSection(const std::string& name);
  const Entry* FindEntry(const std::string& section, const std::string& key) const;

  IFileSystem* fs_;
  std::string path_;
  std::vector<Section> sections_;
  std::map<std::string, size_t> sectionIndex_;  // folded name -> section
  bool modified_ = false;
};

}  // namespace kerv
