#pragma once
// The history of the lead-string and foot-string dialogs, kept in the
// "LeadStrings" section of the settings file (newest first), and the escapes
// of the typed text.

#include <string>
#include <string_view>
#include <vector>

namespace kerv {

class TIniFile;

class TLeadStringHistory {
 public:
  static constexpr const char* kSection = "LeadStrings";
  static constexpr size_t kMaxWrittenItems = 20;
  static constexpr int kMaxTypedChars = 100;  // Cmb_Strings

  // Count and LS0, LS1, ...; empty values are skipped.
  void Read(const TIniFile& ini);
  // Replaces the section with the first kMaxWrittenItems items; the caller
  // writes the file (and shows IniSaveFailed when that fails).
  void Write(TIniFile& ini) const;

  // OK: the typed text goes to the top, or, when an item equals it without
  // regard to the case of single-byte letters, that item moves there. Empty
  // text is not kept.
  void Add(const std::string& typed);
  void Clear() { items_.clear(); }
  const std::vector<std::string>& Items() const { return items_; }

  // The string to insert: "\s" becomes a blank, "\t" a TAB and "\n" CR LF.
  // The text is read by characters, so a trail byte 0x5C (as in ソ) never
  // starts an escape.
  static std::string Expand(std::string_view typed);

 private:
  std::vector<std::string> items_;
};

}  // namespace kerv
