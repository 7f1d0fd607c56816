#pragma once
// How a row's bytes become display columns: the class string of a row and its
// display width. The editor owns one and keeps it in step with its caret's
// tab width, its word wrap and its wrap width.

#include <bitset>
#include <string>
#include <string_view>

namespace kerv {

// Column classes, one per display column.
inline constexpr char kColSingle = '1';     // a single-byte character that is not a delimiter
inline constexpr char kColDelimiter = '2';  // a single-byte delimiter (the tab is one)
inline constexpr char kColTabFill = '3';    // a fill column of a tab (no byte of its own)
inline constexpr char kColLead = '4';       // the first column of a double-byte character
inline constexpr char kColTrail = '5';      // the second column of a double-byte character
inline constexpr char kColEnd = '0';        // the end marker after the last column

using TDelimiters = std::bitset<256>;

// The editor's default word delimiters: controls, the space and every ASCII
// punctuation byte except "_", 0x7F-0x80, 0xA0-0xA5 and 0xFD-0xFF.
TDelimiters DefaultDelimiters();

class TEditorColumnRules {
 public:
  TEditorColumnRules() : delimiters_(DefaultDelimiters()) {}

  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int width) { tabWidth_ = width < 1 ? 1 : width; }
  // While word wrap is on, a tab never reaches past a multiple of the wrap width.
  bool WordWrap() const { return wordWrap_; }
  int WrapByte() const { return wrapByte_; }
  void SetWrap(bool wordWrap, int wrapByte) {
    wordWrap_ = wordWrap;
    wrapByte_ = wrapByte < 1 ? 1 : wrapByte;
  }
  const TDelimiters& Delimiters() const { return delimiters_; }
  void SetDelimiters(const TDelimiters& delimiters) { delimiters_ = delimiters; }
  bool IsDelimiter(unsigned char b) const { return delimiters_[b]; }

  // Fill columns after a tab whose own column is the 1-based col.
  int TabFill(int col) const {
    int fill = tabWidth_ - ((col - 1) % tabWidth_ + 1);
    if (wordWrap_) {
      int toWrap = wrapByte_ - ((col - 1) % wrapByte_ + 1);
      if (toWrap < fill) fill = toWrap;
    }
    return fill;
  }

  std::string ColumnAttributes(std::string_view text) const;
  int TextWidth(std::string_view text) const;

 private:
  TDelimiters delimiters_;
  int tabWidth_ = 8;
  bool wordWrap_ = false;
  int wrapByte_ = 80;
};

}  // namespace kerv
