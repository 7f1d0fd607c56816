#pragma once
// The arithmetic of the preview window: the page label, the image size of
// each zoom mode, where the printable page sits on the sheet, and centring.
// Sizes are printer dots for the sheet and screen pixels for the image.

#include <cstddef>
#include <cstdint>
#include <string>

#include "print/TPagePicture.h"
#include "print/TStringsPrinter.h"

namespace kerv {

enum class TPreviewZoom { ActualSize, FitWidth, FitHeight };

struct TPreviewSize {
  int64_t width = 0;
  int64_t height = 0;
  bool operator==(const TPreviewSize&) const = default;
};

// The page shown after a request to go to pageIndex, and the tool bar's state.
struct TPreviewPage {
  size_t pageIndex = 0;  // clamped to 0..pageCount - 1
  std::string label;     // "%3d / %3d": "  1 /   1"
  bool firstEnabled = false;
  bool previousEnabled = false;
  bool nextEnabled = false;
  bool lastEnabled = false;
};
TPreviewPage PreviewGoTo(long long pageIndex, size_t pageCount);

// The whole sheet: the printable page and its unprintable strips.
TPreviewSize PreviewSheetSize(const TPagePicture& page, const TPrintOffsets& strips);

// The image size: actual size is round(r x sheet); fit width takes the box
// width less a vertical scroll bar, fit height the box height less a
// horizontal one, and keeps the sheet's proportions.
TPreviewSize PreviewImageSize(TPreviewZoom zoom, TPreviewSize sheet, double screenRatio, TPreviewSize box,
                              int64_t verticalScrollBarWidth, int64_t horizontalScrollBarHeight);

// Where the page picture is stretched into on an image of the sheet, so that
// the printable page sits where the printer puts it.
TPrintRect PreviewPictureRect(TPreviewSize image, const TPagePicture& page, const TPrintOffsets& strips);

// The image's left (or top) in the scroll box: centred, never negative.
inline int64_t PreviewCentredOffset(int64_t available, int64_t image) {
  return available > image ? (available - image) / 2 : 0;
}

}  // namespace kerv
