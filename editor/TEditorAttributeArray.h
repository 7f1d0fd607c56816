#pragma once
// The cursor that the cutting rules move over one line: a display column
// (1-based), the class of that column and the byte it belongs to (1-based).
//
// The classes are built for a window of columns from the start of the text,
// wide enough for every move the cutting rules make, so that cutting a long
// line costs time in proportion to its length, not to its square.

#include <string>
#include <string_view>
#include <vector>

#include "editor/TEditorColumnRules.h"

namespace kerv {

class TEditorAttributeArray {
 public:
  // window: the number of columns to classify; 0 classifies the whole text.
  TEditorAttributeArray(const TEditorColumnRules& rules, int window) : rules_(rules), window_(window) {}

  // Starts over on text: column 1, its first character.
  void Reset(std::string_view text);

  // Number of columns of the text; when the window cut the classes short,
  // a value larger than any column the window holds.
  int Length() const { return length_; }
  int Column() const { return col_; }
  char Class() const { return classes_[static_cast<size_t>(col_)]; }
  char ClassAt(int col) const { return col >= 1 && col <= lastCol_ + 1 ? classes_[static_cast<size_t>(col)] : kColEnd; }
  int ByteIndex() const { return byteAt_[static_cast<size_t>(col_)]; }

  void NextColumn() {
    if (Class() != kColEnd && col_ <= lastCol_) ++col_;
  }
  void PreviousColumn() {
    if (col_ > 1) --col_;
  }
  void MoveTo(int col);
  // One character on: the cursor rests on the last column of the next character.
  void NextChar() {
    NextColumn();
    if (Class() == kColLead) NextColumn();
  }
  void PreviousChar() {
    PreviousColumn();
    if (Class() == kColLead) PreviousColumn();
  }
  // The bytes of the character at the cursor ("" at the end marker).
  std::string_view CharText() const { return CharTextAt(col_); }
  std::string_view NextCharText() const { return Class() == kColEnd ? std::string_view() : CharTextAt(col_ + 1); }

 private:
  std::string_view CharTextAt(int col) const;

  const TEditorColumnRules& rules_;
  int window_;
  std::string_view text_;
  std::vector<char> classes_;  // index 0 unused; classes_[lastCol_ + 1] is the end marker or a stop
  std::vector<int> byteAt_;    // 1-based byte index of each column
  int length_ = 0;
  int lastCol_ = 0;
  int col_ = 1;
};

}  // namespace kerv
