#pragma once
// The file history: full names of opened and saved documents, newest first,
// kept in the section "History" of kerv.ini, which every window shares (each
// re-reads it before showing its menu; the last writer wins).

#include <string>
#include <vector>

namespace kerv {

class TIniFile;

class TKervFileHistory {
 public:
  static constexpr const char* kSection = "History";
  // No more than this many names are stored.
  static constexpr int kStoredMax = 20;
  // The menu shortens names longer than this many characters.
  static constexpr size_t kShortLimit = 25;

  struct TMenuEntry {
    std::string caption;   // "&0:" + the short form ('&' in names doubled)
    std::string fileName;  // full name, also the hint; empty for the "（なし）" entry
    bool enabled = true;
  };

  const std::vector<std::string>& Names() const { return names_; }
  // Puts name at the top, moving it there when it is listed already.
  void Add(const std::string& name);
  void Clear() { names_.clear(); }

  // Replaces the list by the file's: keys "History0" ... up to Count; a key
  // that is missing (read as "None") is skipped.
  void Read(const TIniFile& ini);
  // Count (at most kStoredMax) and the keys "History0" ... in order.
  void Write(TIniFile& ini) const;
  static void Erase(TIniFile& ini);

  // The first min(size, showCount) names, or one disabled "（なし）" entry.
  std::vector<TMenuEntry> MenuEntries(int showCount) const;

  // The name shortened for the menu: leading folders give way to ".../"
  // until it fits in limit characters or only the file name is left; the
  // file name itself is never cut.
  static std::string ShortName(const std::string& name, size_t limit = kShortLimit);

 private:
  std::vector<std::string> names_;
};

}  // namespace kerv
