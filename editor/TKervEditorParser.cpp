#include "editor/TKervEditorParser.h"

namespace kerv {

void TKervEditorParser::SkipBlanks() {
  while (position_ < end_) {
    unsigned char b = static_cast<unsigned char>(*position_);
    if (b >= 0x20 || b == 0x09) break;
    ++position_;
  }
}

}  // namespace kerv
