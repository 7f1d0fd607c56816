#include "print/TPreviewGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "print/PrintRounding.h"

namespace kerv {

TPreviewPage PreviewGoTo(long long pageIndex, size_t pageCount) {
  TPreviewPage page;
  const long long last = pageCount == 0 ? 0 : static_cast<long long>(pageCount) - 1;
  page.pageIndex = static_cast<size_t>(pageIndex < 0 ? 0 : pageIndex > last ? last : pageIndex);
  char label[64];
  std::snprintf(label, sizeof label, "%3zu / %3zu", page.pageIndex + 1, pageCount);
  page.label = label;
  page.firstEnabled = page.previousEnabled = page.pageIndex > 0;
  page.nextEnabled = page.lastEnabled = static_cast<long long>(page.pageIndex) < last;
  return page;
}

TPreviewSize PreviewSheetSize(const TPagePicture& page, const TPrintOffsets& strips) {
  return {page.WidthDots() + strips.left + strips.right, page.HeightDots() + strips.top + strips.bottom};
}

TPreviewSize PreviewImageSize(TPreviewZoom zoom, TPreviewSize sheet, double screenRatio, TPreviewSize box,
                              int64_t verticalScrollBarWidth, int64_t horizontalScrollBarHeight) {
  if (sheet.width <= 0 || sheet.height <= 0) return {};
  TPreviewSize image;
  switch (zoom) {
    case TPreviewZoom::ActualSize:
      image.width = static_cast<int64_t>(std::nearbyint(screenRatio * static_cast<double>(sheet.width)));
      image.height = static_cast<int64_t>(std::nearbyint(screenRatio * static_cast<double>(sheet.height)));
      break;
    case TPreviewZoom::FitWidth:
      image.width = std::max<int64_t>(1, box.width - verticalScrollBarWidth);
      image.height = DivRoundHalfEven(sheet.height * image.width, sheet.width);
      break;
    case TPreviewZoom::FitHeight:
      image.height = std::max<int64_t>(1, box.height - horizontalScrollBarHeight);
      image.width = DivRoundHalfEven(sheet.width * image.height, sheet.height);
      break;
  }
  return image;
}

TPrintRect PreviewPictureRect(TPreviewSize image, const TPagePicture& page, const TPrintOffsets& strips) {
  const TPreviewSize sheet = PreviewSheetSize(page, strips);
  if (sheet.width <= 0 || sheet.height <= 0) return {};
  return {DivRoundHalfEven(image.width * strips.left, sheet.width),
          DivRoundHalfEven(image.height * strips.top, sheet.height),
          DivRoundHalfEven(image.width * (page.WidthDots() + strips.left), sheet.width),
          DivRoundHalfEven(image.height * (page.HeightDots() + strips.top), sheet.height)};
}

}  // namespace kerv
