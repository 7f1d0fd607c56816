// BMP files parsed back: both headers, the palette and every pixel, for
// each depth and for widths whose rows need padding.

#include <gtest/gtest.h>

#include "image/EImageError.h"
#include "image/TBmpWriter.h"
#include "image/TColorReducer.h"
#include "tests/image/ImageTestSupport.h"

namespace kerv {
namespace {

// Top and bottom rows differ, so a picture written upside down shows.
TRasterImage Asymmetric(int width, int height) {
  TRasterImage image = test::TextLikeImage(width, height);
  image.FillRect(0, 0, width, 1, TRgb{255, 0, 0});
  image.FillRect(0, height - 1, width / 2, height, TRgb{0, 0, 255});
  return image;
}

TEST(BmpWriterTest, EveryDepthReadsBackPixelForPixel) {
  for (int width : {1, 13, 32, 45}) {
    TRasterImage source = Asymmetric(width, 31);
    for (TPixelFormat format :
         {TPixelFormat::Indexed1, TPixelFormat::Indexed4, TPixelFormat::Indexed8, TPixelFormat::Rgb24}) {
      SCOPED_TRACE(testing::Message() << "width " << width << ", " << BitsPerPixel(format) << " bits");
      TRasterImage image = ReduceToFormat(source, format);
      std::string file = EncodeBmp(image);
      test::DecodedBmp bmp = test::DecodeBmp(file);
      int bits = BitsPerPixel(format);
      size_t paletteEntries = format == TPixelFormat::Rgb24 ? 0 : size_t{1} << bits;
      size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
      EXPECT_EQ(bmp.magic, "BM");
      EXPECT_EQ(bmp.fileSize, file.size());
      EXPECT_EQ(bmp.pixelOffset, 54 + 4 * paletteEntries);
      EXPECT_EQ(bmp.infoSize, 40u);
      EXPECT_EQ(bmp.width, width);
      EXPECT_EQ(bmp.height, 31);  // positive: bottom-up
      EXPECT_EQ(bmp.planes, 1);
      EXPECT_EQ(bmp.bitCount, bits);
      EXPECT_EQ(bmp.compression, 0u);
      EXPECT_EQ(bmp.imageSize, stride * 31);
      EXPECT_EQ(bmp.colorsUsed, paletteEntries);
      EXPECT_EQ(file.size(), bmp.pixelOffset + stride * 31);
      ASSERT_EQ(bmp.pixels.size(), static_cast<size_t>(width) * 31);
      for (int y = 0; y < 31; ++y) {
        for (int x = 0; x < width; ++x) ASSERT_EQ(bmp.At(x, y), image.Pixel(x, y)) << x << "," << y;
      }
    }
  }
}

TEST(BmpWriterTest, RowPaddingIsZero) {
  TRasterImage image(5, 2, TPixelFormat::Rgb24);
  image.Fill(TRgb{255, 255, 255});
  std::string file = EncodeBmp(image);
  // 15 bytes of pixels and one of padding per row.
  EXPECT_EQ(file[54 + 15], '\0');
  EXPECT_EQ(file[54 + 31], '\0');
  EXPECT_EQ(static_cast<uint8_t>(file[54 + 14]), 255);
}

TEST(BmpWriterTest, AShortPaletteIsFilledToTheDepth) {
  TRasterImage image(4, 1, TPixelFormat::Indexed8);
  image.SetPalette({TRgb{10, 20, 30}, TRgb{40, 50, 60}});
  image.SetPixelIndex(2, 0, 1);
  test::DecodedBmp bmp = test::DecodeBmp(EncodeBmp(image));
  ASSERT_EQ(bmp.palette.size(), 256u);
  EXPECT_EQ(bmp.palette[1], (TRgb{40, 50, 60}));
  EXPECT_EQ(bmp.palette[2], (TRgb{0, 0, 0}));
  EXPECT_EQ(bmp.At(2, 0), (TRgb{40, 50, 60}));
}

TEST(BmpWriterTest, TheEmptyImageIsRefused) {
  try {
    EncodeBmp(TRasterImage());
    ADD_FAILURE() << "written";
  } catch (const EImageError& error) {
    EXPECT_EQ(error.Message(), TImageMessage::EmptyImage);
  }
}

}  // namespace
}  // namespace kerv
