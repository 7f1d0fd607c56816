#pragma once
// Helpers shared by the units of TEditor (not part of its interface).

#include <string>
#include <string_view>

#include "editor/TEditorColumnRules.h"
#include "platform/CodePage.h"

namespace kerv::editor_detail {

inline int Len(std::string_view text) { return static_cast<int>(text.size()); }

// Whether byte i of a Shift_JIS text is the trail byte of a character: the
// lead-range bytes right before it pair up from the last byte that cannot
// lead, so an odd count of them means i completes a character.
inline bool IsTrailAt(std::string_view text, int i) {
  if (i <= 0 || i >= Len(text)) return false;
  int j = i - 1;
  while (j >= 0 && IsLeadByte(static_cast<unsigned char>(text[j]))) --j;
  return (i - 1 - j) % 2 == 1;
}

// The column classes of one row. Only a row with a tab needs the class
// string; without tabs a column is a byte, and a 10 MB row is not copied.
class TRowCells {
 public:
  TRowCells(const TEditorColumnRules& rules, std::string_view text) : text_(text) {
    if (text.find('\t') != std::string_view::npos) {
      attrs_ = rules.ColumnAttributes(text);
      tabs_ = true;
    }
  }
  int Width() const { return tabs_ ? Len(attrs_) : Len(text_); }
  char operator[](int col) const {
    if (tabs_) return attrs_[col];
    if (IsTrailAt(text_, col)) return kColTrail;
    return IsLeadByte(static_cast<unsigned char>(text_[col])) && col + 1 < Len(text_) ? kColLead : kColSingle;
  }

 private:
  std::string_view text_;
  std::string attrs_;
  bool tabs_ = false;
};

}  // namespace kerv::editor_detail
