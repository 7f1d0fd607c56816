#include "editor/TEditorAttributeArray.h"

#include "platform/CodePage.h"

namespace kerv {

void TEditorAttributeArray::Reset(std::string_view text) {
  text_ = text;
  int limit = window_ > 0 ? window_ : static_cast<int>(text.size()) * 2 + 8;
  // Room for the window, one character or tab past it, and the end marker.
  size_t room = static_cast<size_t>(limit) + static_cast<size_t>(rules_.TabWidth()) + 4;
  if (classes_.size() < room) {
    classes_.resize(room);
    byteAt_.resize(room);
  }
  char* classes = classes_.data();
  int* byteAt = byteAt_.data();
  classes[0] = kColEnd;
  byteAt[0] = 0;
  size_t i = 0;
  int col = 0;
  const size_t size = text.size();
  for (; i < size && col < limit; ++i) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    int byteIndex = static_cast<int>(i) + 1;
    if (IsLeadByte(b) && i + 1 < size) {
      classes[col + 1] = kColLead;
      byteAt[col + 1] = byteIndex;
      classes[col + 2] = kColTrail;
      byteAt[col + 2] = byteIndex + 1;
      col += 2;
      ++i;
      continue;
    }
    ++col;
    classes[col] = rules_.IsDelimiter(b) ? kColDelimiter : kColSingle;
    byteAt[col] = byteIndex;
    if (b == '\t') {
      int fill = rules_.TabFill(col);
      if (static_cast<size_t>(col + fill) + 2 > classes_.size()) {
        // A tab wider than the room planned for (a very wide tab setting).
        classes_.resize(static_cast<size_t>(col + fill) + 4);
        byteAt_.resize(classes_.size());
        classes = classes_.data();
        byteAt = byteAt_.data();
      }
      for (int f = 1; f <= fill; ++f) {
        classes[col + f] = kColTabFill;
        byteAt[col + f] = byteIndex;
      }
      col += fill;
    }
  }
  lastCol_ = col;
  if (i >= size) {
    length_ = col;
    classes[col + 1] = kColEnd;
    byteAt[col + 1] = static_cast<int>(size) + 1;
  } else {
    // More text than the window: the cursor never gets this far, and every
    // comparison with Length sees a long line.
    length_ = col + 1 + static_cast<int>(size - i);
    classes[col + 1] = kColSingle;
    byteAt[col + 1] = static_cast<int>(i) + 1;
  }
  col_ = 1;
}

void TEditorAttributeArray::MoveTo(int col) {
  while (col_ < col && Class() != kColEnd) ++col_;
  while (col_ > col && col_ > 1) --col_;
}

std::string_view TEditorAttributeArray::CharTextAt(int col) const {
  char cls = ClassAt(col);
  if (cls == kColEnd || col > lastCol_) return std::string_view();
  int byteIndex = byteAt_[static_cast<size_t>(col)];
  if (cls == kColLead) return text_.substr(static_cast<size_t>(byteIndex - 1), 2);
  if (cls == kColTrail) return text_.substr(static_cast<size_t>(byteIndex - 2), 2);
  return text_.substr(static_cast<size_t>(byteIndex - 1), 1);
}

}  // namespace kerv
