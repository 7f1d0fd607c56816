// PNG files walked chunk by chunk (order, CRCs, header fields, gamma, time,
// IDAT sizes) and their image data inflated back to the pixels.

#include <gtest/gtest.h>

#include <chrono>

#include "image/EImageError.h"
#include "image/TColorReducer.h"
#include "image/TPngWriter.h"
#include "tests/image/ImageTestSupport.h"

namespace kerv {
namespace {

// 2024-02-29 23:59:58 UTC.
std::chrono::system_clock::time_point FixedTime() {
  return std::chrono::system_clock::time_point(std::chrono::seconds(1709251198));
}

std::vector<std::string> Types(const std::vector<test::PngChunk>& chunks) {
  std::vector<std::string> types;
  for (const auto& chunk : chunks) {
    if (types.empty() || types.back() != chunk.type || chunk.type != "IDAT") types.push_back(chunk.type);
  }
  return types;
}

TEST(PngWriterTest, ChunksComeInOrderWithValidCrcs) {
  TPngWriter writer(FixedTime);
  TRasterImage image = test::TextLikeImage(50, 40);
  std::vector<test::PngChunk> rgb = test::WalkPng(writer.Encode(image));
  EXPECT_EQ(Types(rgb), (std::vector<std::string>{"IHDR", "tIME", "tEXt", "kvEr", "gAMA", "IDAT", "IEND"}));
  std::vector<test::PngChunk> indexed = test::WalkPng(writer.Encode(ReduceTo16Colors(image)));
  EXPECT_EQ(Types(indexed), (std::vector<std::string>{"IHDR", "tIME", "tEXt", "kvEr", "gAMA", "PLTE", "IDAT", "IEND"}));
  for (const auto* chunks : {&rgb, &indexed}) {
    for (const test::PngChunk& chunk : *chunks) EXPECT_TRUE(chunk.crcValid) << chunk.type;
    EXPECT_TRUE(chunks->back().data.empty());
  }
}

TEST(PngWriterTest, AncillaryChunksHoldTheirValues) {
  TPngWriter writer(FixedTime);
  std::vector<test::PngChunk> chunks = test::WalkPng(writer.Encode(test::TextLikeImage(8, 8)));
  ASSERT_GE(chunks.size(), 5u);
  EXPECT_EQ(chunks[1].data, std::string("\x07\xE8\x02\x1D\x17\x3B\x3A", 7));  // 2024-02-29 23:59:58
  EXPECT_EQ(chunks[2].data, std::string("Software\0KervEditor ", 20) + chunks[2].data.substr(20));
  EXPECT_GT(chunks[2].data.size(), 20u);
  // The private chunk: ancillary (bit 5 of the first letter), private (of
  // the second), reserved bit clear (third), safe to copy (fourth).
  const std::string& name = chunks[3].type;
  EXPECT_TRUE(name[0] & 0x20);
  EXPECT_TRUE(name[1] & 0x20);
  EXPECT_FALSE(name[2] & 0x20);
  EXPECT_TRUE(name[3] & 0x20);
  EXPECT_EQ(chunks[3].data.size(), 8u);
  EXPECT_EQ(chunks[4].data, std::string("\x00\x00\xB1\x8F", 4));  // 45455
  EXPECT_EQ(test::ReadBe32(chunks[4].data, 0), 45455u);
}

TEST(PngWriterTest, HeaderFieldsFollowTheFormat) {
  struct Case {
    TPixelFormat format;
    int bitDepth, colourType;
    size_t paletteEntries;
  } cases[] = {
      {TPixelFormat::Rgb24, 8, 2, 0},
      {TPixelFormat::Indexed8, 8, 3, 4},  // the text image's own four colours
      {TPixelFormat::Indexed4, 4, 3, 16},
      {TPixelFormat::Indexed1, 1, 3, 2},
  };
  TPngWriter writer(FixedTime);
  TRasterImage source = test::TextLikeImage(77, 33);
  for (const Case& c : cases) {
    SCOPED_TRACE(BitsPerPixel(c.format));
    TRasterImage image = ReduceToFormat(source, c.format);
    test::DecodedPng png = test::DecodePng(writer.Encode(image));
    EXPECT_EQ(png.width, 77);
    EXPECT_EQ(png.height, 33);
    EXPECT_EQ(png.bitDepth, c.bitDepth);
    EXPECT_EQ(png.colourType, c.colourType);
    EXPECT_EQ(png.compression, 0);
    EXPECT_EQ(png.filterMethod, 0);
    EXPECT_EQ(png.interlace, 0);
    EXPECT_EQ(png.palette.size(), c.paletteEntries);
    // Every scanline has filter type 0, and the pixels are the image's.
    EXPECT_EQ(png.filters, std::vector<int>(33, 0));
    ASSERT_EQ(png.pixels.size(), 77u * 33u);
    for (int y = 0; y < 33; ++y) {
      for (int x = 0; x < 77; ++x) ASSERT_EQ(png.At(x, y), image.Pixel(x, y)) << x << "," << y;
    }
  }
}

TEST(PngWriterTest, ImageDataIsSplitIntoChunksOfAtMost32768Bytes) {
  // Noise does not compress: about 270 kB of data, nine chunks or more.
  TRasterImage image = test::NoiseImage(300, 300);
  TPngWriter writer(FixedTime);
  std::string file = writer.Encode(image);
  std::vector<test::PngChunk> chunks = test::WalkPng(file);
  size_t idatCount = 0;
  for (const test::PngChunk& chunk : chunks) {
    if (chunk.type != "IDAT") continue;
    ++idatCount;
    EXPECT_LE(chunk.data.size(), TPngWriter::kMaxIdatBytes);
    EXPECT_FALSE(chunk.data.empty());
  }
  EXPECT_GE(idatCount, 9u);
  test::DecodedPng png = test::DecodePng(file);
  ASSERT_EQ(png.pixels.size(), 300u * 300u);
  EXPECT_EQ(png.At(299, 299), image.Pixel(299, 299));
  EXPECT_EQ(png.At(123, 45), image.Pixel(123, 45));
}

TEST(PngWriterTest, AWriterUsedAgainWritesTheSameFile) {
  TPngWriter writer(FixedTime);
  TRasterImage a = test::TextLikeImage(120, 60), b = test::NoiseImage(40, 30);
  std::string first = writer.Encode(a);
  writer.Encode(b);
  EXPECT_EQ(writer.Encode(a), first);
  TPngWriter fresh(FixedTime);
  EXPECT_EQ(fresh.Encode(a), first);
}

TEST(PngWriterTest, UnusedPaletteIndicesGetEntries) {
  // A palette shorter than the indices the pixels use would make the file
  // unreadable; the missing entries are written black.
  TRasterImage image(3, 1, TPixelFormat::Indexed8);
  image.SetPalette({TRgb{9, 9, 9}});
  image.SetPixelIndex(2, 0, 4);
  TPngWriter writer(FixedTime);
  test::DecodedPng png = test::DecodePng(writer.Encode(image));
  ASSERT_EQ(png.palette.size(), 5u);
  EXPECT_EQ(png.At(0, 0), (TRgb{9, 9, 9}));
  EXPECT_EQ(png.At(2, 0), (TRgb{0, 0, 0}));
}

TEST(PngWriterTest, TheEmptyImageIsRefusedBeforeAnythingIsWritten) {
  TPngWriter writer(FixedTime);
  try {
    writer.Encode(TRasterImage());
    ADD_FAILURE() << "written";
  } catch (const EImageError& error) {
    EXPECT_EQ(error.Message(), TImageMessage::EmptyImage);
  }
  // And the writer still works.
  EXPECT_EQ(test::DecodePng(writer.Encode(test::TextLikeImage(5, 5))).width, 5);
}

}  // namespace
}  // namespace kerv
