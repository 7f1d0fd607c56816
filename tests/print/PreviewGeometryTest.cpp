// The preview's page label and buttons, zoom sizes and the page's place on
// the sheet.

#include <gtest/gtest.h>

#include "print/TPreviewGeometry.h"

namespace kerv {
namespace {

TEST(PreviewGeometryTest, GoToClampsAndLabels) {
  struct Case {
    long long request;
    size_t count;
    size_t page;
    const char* label;
    bool back, forward;
  } cases[] = {
      {0, 1, 0, "  1 /   1", false, false},
      {5, 1, 0, "  1 /   1", false, false},
      {-3, 12, 0, "  1 /  12", false, true},
      {4, 12, 4, "  5 /  12", true, true},
      {99, 12, 11, " 12 /  12", true, false},
      {1233, 2000, 1233, "1234 / 2000", true, true},
  };
  for (const Case& c : cases) {
    const TPreviewPage page = PreviewGoTo(c.request, c.count);
    EXPECT_EQ(page.pageIndex, c.page) << c.request;
    EXPECT_EQ(page.label, c.label) << c.request;
    EXPECT_EQ(page.firstEnabled, c.back) << c.request;
    EXPECT_EQ(page.previousEnabled, c.back) << c.request;
    EXPECT_EQ(page.nextEnabled, c.forward) << c.request;
    EXPECT_EQ(page.lastEnabled, c.forward) << c.request;
  }
}

TEST(PreviewGeometryTest, ImageSizeAndPicturePlace) {
  const TPagePicture page(2020, 2890, {});
  const TPrintOffsets strips{40, 40, 40, 40};
  const TPreviewSize sheet = PreviewSheetSize(page, strips);
  EXPECT_EQ(sheet, (TPreviewSize{2100, 2970}));
  const double ratio = 96.0 / 254.0;
  EXPECT_EQ(PreviewImageSize(TPreviewZoom::ActualSize, sheet, ratio, {800, 600}, 17, 17), (TPreviewSize{794, 1123}));
  EXPECT_EQ(PreviewImageSize(TPreviewZoom::FitWidth, sheet, ratio, {717, 600}, 17, 17), (TPreviewSize{700, 990}));
  EXPECT_EQ(PreviewImageSize(TPreviewZoom::FitHeight, sheet, ratio, {800, 314}, 17, 17), (TPreviewSize{210, 297}));
  EXPECT_EQ(PreviewPictureRect({210, 297}, page, strips), (TPrintRect{4, 4, 206, 293}));
  EXPECT_EQ(PreviewCentredOffset(800, 210), 295);
  EXPECT_EQ(PreviewCentredOffset(100, 210), 0);
}

}  // namespace
}  // namespace kerv
