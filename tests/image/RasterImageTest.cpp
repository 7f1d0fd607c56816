// The raster image: refused sizes, row layout, packed pixels, expansion.

#include <gtest/gtest.h>

#include <climits>

#include "image/EImageError.h"
#include "image/TRasterImage.h"

namespace kerv {
namespace {

TEST(RasterImageTest, SizesThatCannotBeMadeAreRefusedWithTheirMessage) {
  struct Case {
    int width, height;
    TPixelFormat format;
    TImageMessage message;
  } cases[] = {
      {0, 0, TPixelFormat::Rgb24, TImageMessage::EmptyImage},
      {0, 10, TPixelFormat::Rgb24, TImageMessage::EmptyImage},
      {10, 0, TPixelFormat::Indexed1, TImageMessage::EmptyImage},
      {-5, 5, TPixelFormat::Rgb24, TImageMessage::EmptyImage},
      {30001, 1, TPixelFormat::Indexed1, TImageMessage::ImageTooLarge},
      {1, 30001, TPixelFormat::Rgb24, TImageMessage::ImageTooLarge},
      // 2.7 GB: each side is allowed, the store is not.
      {30000, 30000, TPixelFormat::Rgb24, TImageMessage::ImageTooLarge},
      {20000, 20000, TPixelFormat::Rgb24, TImageMessage::ImageTooLarge},
      {INT_MAX, INT_MAX, TPixelFormat::Rgb24, TImageMessage::ImageTooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    try {
      TRasterImage image(c.width, c.height, c.format);
      ADD_FAILURE() << "made";
    } catch (const EImageError& error) {
      EXPECT_EQ(error.Message(), c.message);
      // The size the user asked for is named in the message.
      EXPECT_NE(std::string(error.what()).find(std::to_string(c.width)), std::string::npos) << error.what();
    }
  }
  // A long thin strip and a monochrome image of the largest sides fit.
  EXPECT_NO_THROW(CheckImageSize(30000, 1, TPixelFormat::Rgb24));
  EXPECT_NO_THROW(CheckImageSize(30000, 30000, TPixelFormat::Indexed1));
}

TEST(RasterImageTest, RowsArePaddedToFourBytes) {
  struct Case {
    int width;
    TPixelFormat format;
    size_t stride, rowBytes;
  } cases[] = {
      {1, TPixelFormat::Rgb24, 4, 3},     {3, TPixelFormat::Rgb24, 12, 9},   {4, TPixelFormat::Rgb24, 12, 12},
      {5, TPixelFormat::Indexed8, 8, 5},  {9, TPixelFormat::Indexed4, 8, 5}, {8, TPixelFormat::Indexed4, 4, 4},
      {1, TPixelFormat::Indexed1, 4, 1},  {33, TPixelFormat::Indexed1, 8, 5},
  };
  for (const Case& c : cases) {
    TRasterImage image(c.width, 2, c.format);
    EXPECT_EQ(image.Stride(), c.stride) << c.width;
    EXPECT_EQ(image.RowBytes(), c.rowBytes) << c.width;
    EXPECT_EQ(image.ByteSize(), c.stride * 2);
    EXPECT_EQ(image.Row(1) - image.Row(0), static_cast<ptrdiff_t>(c.stride));
  }
  EXPECT_EQ(ImageStride(0, TPixelFormat::Rgb24), 0u);
}

TEST(RasterImageTest, PackedPixelsKeepTheirNeighbours) {
  for (TPixelFormat format : {TPixelFormat::Indexed1, TPixelFormat::Indexed4, TPixelFormat::Indexed8}) {
    int levels = 1 << BitsPerPixel(format);
    TRasterImage image(11, 3, format);
    EXPECT_EQ(image.Palette().size(), static_cast<size_t>(levels));
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 11; ++x) image.SetPixelIndex(x, y, (x * 7 + y * 3) % levels);
    }
    // Overwrite one pixel and see the others unchanged.
    image.SetPixelIndex(5, 1, levels - 1);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 11; ++x) {
        int expected = (x == 5 && y == 1) ? levels - 1 : (x * 7 + y * 3) % levels;
        EXPECT_EQ(image.PixelIndex(x, y), expected) << BitsPerPixel(format) << " bits at " << x << "," << y;
      }
    }
  }
}

TEST(RasterImageTest, PixelsOfAnyFormatReadAsColours) {
  TRasterImage indexed(3, 1, TPixelFormat::Indexed4);
  indexed.SetPalette({TRgb{1, 2, 3}, TRgb{200, 100, 50}});
  indexed.SetPixelIndex(1, 0, 1);
  indexed.SetPixelIndex(2, 0, 9);  // no palette entry: black
  EXPECT_EQ(indexed.Pixel(0, 0), (TRgb{1, 2, 3}));
  EXPECT_EQ(indexed.Pixel(1, 0), (TRgb{200, 100, 50}));
  EXPECT_EQ(indexed.Pixel(2, 0), (TRgb{0, 0, 0}));

  TRasterImage rgb = ToRgb24(indexed);
  EXPECT_EQ(rgb.Format(), TPixelFormat::Rgb24);
  EXPECT_EQ(rgb.Pixel(1, 0), (TRgb{200, 100, 50}));
  // The byte order is red, green, blue, as a QImage of Format_RGB888 has it.
  EXPECT_EQ(rgb.Row(0)[3], 200);
  EXPECT_EQ(rgb.Row(0)[5], 50);
}

TEST(RasterImageTest, FillRectIsClippedToTheImage) {
  TRasterImage image(4, 3, TPixelFormat::Rgb24);
  image.Fill(TRgb{9, 9, 9});
  image.FillRect(-10, 1, 2, 99, TRgb{255, 0, 0});
  image.FillRect(3, 3, 2, 5, TRgb{0, 255, 0});  // inverted and outside: nothing
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) {
      TRgb expected = (x < 2 && y >= 1) ? TRgb{255, 0, 0} : TRgb{9, 9, 9};
      EXPECT_EQ(image.Pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST(RasterImageTest, ColoursConvertFromSettingsValues) {
  EXPECT_EQ(TRgb::FromColor(0x00336699), (TRgb{0x99, 0x66, 0x33}));
  EXPECT_EQ((TRgb{0x99, 0x66, 0x33}).ToColor(), 0x00336699u);
  EXPECT_TRUE(TRasterImage().IsEmpty());
  EXPECT_TRUE(ToRgb24(TRasterImage()).IsEmpty());
}

TEST(RasterImageTest, EveryMessageHasAText) {
  for (int id = 0; id <= static_cast<int>(TImageMessage::BackgroundFilter); ++id) {
    EXPECT_FALSE(ImageMessage(static_cast<TImageMessage>(id)).empty()) << id;
  }
  EXPECT_EQ(ImageMessage(TImageMessage::ReadFailed), "読み込みに失敗しました");
  EXPECT_EQ(FormatImageMessage(TImageMessage::EmptyImage, {"0", "7"}),
            "画像の大きさが 0 × 7 ピクセルです。幅と高さを 1 ピクセル以上にしてください。");
  EImageError error = EImageError::WithCause(TImageMessage::SaveFailed, "disk full");
  EXPECT_EQ(error.Message(), TImageMessage::SaveFailed);
  EXPECT_STREQ(error.what(), "画像の保存に失敗しました。\ndisk full");
}

}  // namespace
}  // namespace kerv
