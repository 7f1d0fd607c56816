#include "print/TPagePicture.h"

namespace kerv {

void TPagePicture::DrawText(TPrintTextRole role, const TPrintRect& rect, TPrintTextAlign align, std::string_view sjis,
                            bool clip) {
  ops_.push_back(TPrintTextOp{role, rect, align, clip, text_.size(), sjis.size()});
  text_.append(sjis);
}

TPagePicture& TMetaFileList::Add(int64_t widthDots, int64_t heightDots, const TPageFont& font) {
  pages_.push_back(std::make_unique<TPagePicture>(widthDots, heightDots, font));
  return *pages_.back();
}

}  // namespace kerv
