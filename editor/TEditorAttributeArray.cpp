#include "editor/TEditorAttributeArray.h"

#include "platform/CodePage.h"

namespace kerv {

void TEditorAttributeArray::Reset(std::string_view text) {
  text_ = text;
  classes_.clear();
  byteAt_.clear();
  classes_.push_back(kColEnd);
  byteAt_.push_back(0);
  int limit = window_ > 0 ? window_ : static_cast<int>(text.size()) * 2 + 8;
  size_t i = 0;
  int col = 0;
  for (; i < text.size() && col < limit; ++i) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    int byteIndex = static_cast<int>(i) + 1;
    if (IsLeadByte(b) && i + 1 < text.size()) {
      classes_.push_back(kColLead);
      byteAt_.push_back(byteIndex);
      classes_.push_back(kColTrail);
      byteAt_.push_back(byteIndex + 1);
      col += 2;
      ++i;
      continue;
    }
    classes_.push_back(rules_.IsDelimiter(b) ? kColDelimiter : kColSingle);
    byteAt_.push_back(byteIndex);
    ++col;
    if (b == '\t') {
      int fill = rules_.TabFill(col);
      for (int f = 0; f < fill; ++f) {
        classes_.push_back(kColTabFill);
        byteAt_.push_back(byteIndex);
      }
      col += fill;
    }
  }
  lastCol_ = col;
  if (i >= text.size()) {
    length_ = col;
    classes_.push_back(kColEnd);
    byteAt_.push_back(static_cast<int>(text.size()) + 1);
  } else {
    // More text than the window: the cursor never gets this far, and every
    // comparison with Length sees a long line.
    length_ = col + 1 + static_cast<int>(text.size() - i);
    classes_.push_back(kColSingle);
    byteAt_.push_back(static_cast<int>(i) + 1);
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
