#include "editor/TEditorColumnRules.h"

#include <cstring>

#include "platform/CodePage.h"

namespace kerv {

TDelimiters DefaultDelimiters() {
  TDelimiters set;
  auto range = [&](int from, int to) {
    for (int b = from; b <= to; ++b) set.set(static_cast<size_t>(b));
  };
  range(0x00, 0x2F);
  range(0x3A, 0x40);
  range(0x5B, 0x5E);
  range(0x60, 0x60);
  range(0x7B, 0x80);
  range(0xA0, 0xA5);
  range(0xFD, 0xFF);
  return set;
}

std::string TEditorColumnRules::ColumnAttributes(std::string_view text) const {
  std::string classes;
  classes.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    // A lead byte with no trail byte at the end of the row counts as a single byte.
    if (IsLeadByte(b) && i + 1 < text.size()) {
      classes += kColLead;
      classes += kColTrail;
      ++i;
      continue;
    }
    classes += IsDelimiter(b) ? kColDelimiter : kColSingle;
    if (b == '\t') classes.append(static_cast<size_t>(TabFill(static_cast<int>(classes.size()))), kColTabFill);
  }
  return classes;
}

int TEditorColumnRules::TextWidth(std::string_view text) const {
  // Without a tab every byte is one column.
  if (text.empty() || std::memchr(text.data(), '\t', text.size()) == nullptr) return static_cast<int>(text.size());
  int width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(b) && i + 1 < text.size()) {
      width += 2;
      ++i;
    } else {
      ++width;
      if (b == '\t') width += TabFill(width);
    }
  }
  return width;
}

}  // namespace kerv
