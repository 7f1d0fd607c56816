#pragma once
// Recorded pages. A page is a list of texts placed in rectangles of printer
// dots on the printable page; the window half replays it stretched into any
// rectangle (the preview at any zoom, the printer, a PDF page), so pages are
// laid out once and only replayed afterwards.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "print/IPrintMeasurer.h"

namespace kerv {

// Printer dots; right and bottom are exclusive.
struct TPrintRect {
  int64_t left = 0;
  int64_t top = 0;
  int64_t right = 0;
  int64_t bottom = 0;
  int64_t Width() const { return right - left; }
  int64_t Height() const { return bottom - top; }
  bool operator==(const TPrintRect&) const = default;
};

enum class TPrintTextAlign { Left, Center, Right };

// What a text is; the replay draws them all alike.
enum class TPrintTextRole { Header, Footer, LineNumber, Body };

// One text drawn as a single line at the top of its rectangle, horizontally
// aligned in it, "&" drawn as itself, clipped to the rectangle when clip is set.
struct TPrintTextOp {
  TPrintTextRole role = TPrintTextRole::Body;
  TPrintRect rect;
  TPrintTextAlign align = TPrintTextAlign::Left;
  bool clip = true;
  size_t textOffset = 0;  // in the picture's text store
  size_t textBytes = 0;
};

class TPagePicture {
 public:
  TPagePicture(int64_t widthDots, int64_t heightDots, TPageFont font)
      : widthDots_(widthDots), heightDots_(heightDots), font_(std::move(font)) {}

  // The printable page the picture was recorded on.
  int64_t WidthDots() const { return widthDots_; }
  int64_t HeightDots() const { return heightDots_; }
  // Every text of the page is drawn in this font.
  const TPageFont& Font() const { return font_; }

  void DrawText(TPrintTextRole role, const TPrintRect& rect, TPrintTextAlign align, std::string_view sjis,
                bool clip = true);

  std::span<const TPrintTextOp> Ops() const { return ops_; }
  // The Shift_JIS text of one of this picture's ops.
  std::string_view Text(const TPrintTextOp& op) const { return std::string_view(text_).substr(op.textOffset, op.textBytes); }

 private:
  int64_t widthDots_;
  int64_t heightDots_;
  TPageFont font_;
  std::vector<TPrintTextOp> ops_;
  // All texts of the page in one block: a page of rows costs one allocation,
  // not one per row.
  std::string text_;
};

// The pages of one print or preview, in order; owns and frees its pictures.
class TMetaFileList {
 public:
  // Appends an empty page and returns it; earlier pages stay where they are.
  TPagePicture& Add(int64_t widthDots, int64_t heightDots, const TPageFont& font);
  size_t Count() const { return pages_.size(); }
  const TPagePicture& Items(size_t index) const { return *pages_.at(index); }
  TPagePicture& Items(size_t index) { return *pages_.at(index); }
  void Clear() { pages_.clear(); }

 private:
  std::vector<std::unique_ptr<TPagePicture>> pages_;
};

}  // namespace kerv
