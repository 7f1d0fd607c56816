// JPEG files: progressive (SOF2 and several scans), decoded back to their
// size and approximate colours; libjpeg's errors come back as exceptions.

#include <gtest/gtest.h>

#include <cstdlib>

#include "image/EImageError.h"
#include "image/TColorReducer.h"
#include "image/TJpegCodec.h"
#include "tests/image/ImageTestSupport.h"

namespace kerv {
namespace {

// The markers of a JPEG file in order, entropy-coded data skipped.
std::vector<int> Markers(std::string_view file) {
  std::vector<int> markers;
  auto byte = [&](size_t i) { return static_cast<uint8_t>(file[i]); };
  size_t pos = 0;
  while (pos + 1 < file.size()) {
    if (byte(pos) != 0xFF) {
      ADD_FAILURE() << "no marker at " << pos;
      return markers;
    }
    int marker = byte(pos + 1);
    markers.push_back(marker);
    pos += 2;
    if (marker == 0xD8 || marker == 0xD9) continue;
    pos += static_cast<size_t>(byte(pos) << 8 | byte(pos + 1));
    if (marker != 0xDA) continue;
    // After a scan header: data up to the next marker that is not a stuffed
    // zero or a restart.
    while (pos + 1 < file.size() && !(byte(pos) == 0xFF && byte(pos + 1) != 0 && (byte(pos + 1) < 0xD0 || byte(pos + 1) > 0xD7))) {
      ++pos;
    }
  }
  return markers;
}

// Four quarters in red, green, blue and white.
TRasterImage Quarters(int width, int height) {
  TRasterImage image(width, height, TPixelFormat::Rgb24);
  image.FillRect(0, 0, width / 2, height / 2, TRgb{255, 0, 0});
  image.FillRect(width / 2, 0, width, height / 2, TRgb{0, 255, 0});
  image.FillRect(0, height / 2, width / 2, height, TRgb{0, 0, 255});
  image.FillRect(width / 2, height / 2, width, height, TRgb{255, 255, 255});
  return image;
}

bool Near(TRgb a, TRgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

TEST(JpegCodecTest, FilesAreProgressiveColourJpegs) {
  std::string file = EncodeJpeg(Quarters(64, 48), 90);
  std::vector<int> markers = Markers(file);
  ASSERT_FALSE(markers.empty());
  EXPECT_EQ(markers.front(), 0xD8);
  EXPECT_EQ(markers.back(), 0xD9);
  EXPECT_NE(std::find(markers.begin(), markers.end(), 0xC2), markers.end()) << "no SOF2";
  EXPECT_EQ(std::find(markers.begin(), markers.end(), 0xC0), markers.end()) << "a baseline frame";
  EXPECT_GT(std::count(markers.begin(), markers.end(), 0xDA), 2) << "a progressive file has several scans";
  // Three components in the frame header: colour, not grey.
  size_t sof = file.find("\xFF\xC2");
  ASSERT_NE(sof, std::string::npos);
  EXPECT_EQ(static_cast<uint8_t>(file[sof + 9]), 3);
}

TEST(JpegCodecTest, ADecodedFileHasTheSizeAndColours) {
  for (int quality : {30, 90}) {
    TRasterImage image = DecodeJpeg(EncodeJpeg(Quarters(64, 48), quality));
    ASSERT_EQ(image.Width(), 64);
    ASSERT_EQ(image.Height(), 48);
    EXPECT_TRUE(Near(image.Pixel(12, 10), TRgb{255, 0, 0}, 16)) << quality;
    EXPECT_TRUE(Near(image.Pixel(50, 10), TRgb{0, 255, 0}, 16)) << quality;
    EXPECT_TRUE(Near(image.Pixel(12, 38), TRgb{0, 0, 255}, 16)) << quality;
    EXPECT_TRUE(Near(image.Pixel(50, 38), TRgb{255, 255, 255}, 16)) << quality;
  }
  // A file several times the first output buffer (the buffer grows twice).
  std::string big = EncodeJpeg(test::NoiseImage(500, 500), 95);
  EXPECT_GT(big.size(), 65536u * 2);
  TRasterImage bigBack = DecodeJpeg(big);
  EXPECT_EQ(bigBack.Width(), 500);
  EXPECT_EQ(bigBack.Height(), 500);
  // An indexed image is written through its palette.
  TRasterImage indexed = ReduceTo16Colors(Quarters(32, 32));
  TRasterImage back = DecodeJpeg(EncodeJpeg(indexed, 90));
  EXPECT_TRUE(Near(back.Pixel(4, 4), TRgb{255, 0, 0}, 16));
}

TEST(JpegCodecTest, QualityIsClampedAndChangesTheFile) {
  TRasterImage image = test::TextLikeImage(160, 90);
  EXPECT_LT(EncodeJpeg(image, 10).size(), EncodeJpeg(image, 95).size());
  EXPECT_EQ(EncodeJpeg(image, 0), EncodeJpeg(image, 1));
  EXPECT_EQ(EncodeJpeg(image, 500), EncodeJpeg(image, 100));
  EXPECT_EQ(ClampJpegQuality(-3), 1);
  EXPECT_EQ(ClampJpegQuality(50), 50);
}

TEST(JpegCodecTest, LibjpegErrorsReturnInsteadOfEndingTheProcess) {
  auto neverCalled = [](const void*, int, uint8_t*) -> const uint8_t* {
    ADD_FAILURE() << "a row was asked for";
    return nullptr;
  };
  // libjpeg's own handler would print the message and call exit() here.
  struct Case {
    int width, height;
  } cases[] = {{0, 0}, {0, 10}, {70000, 1}};
  for (const Case& c : cases) {
    try {
      EncodeJpegRows(c.width, c.height, 50, neverCalled, nullptr);
      ADD_FAILURE() << "written " << c.width << " x " << c.height;
    } catch (const EImageError& error) {
      EXPECT_EQ(error.Message(), TImageMessage::JpegFailed);
      EXPECT_GT(std::string(error.what()).size(), ImageMessage(TImageMessage::JpegFailed).size()) << "no libjpeg text";
    }
  }
  // The empty image never reaches libjpeg.
  try {
    EncodeJpeg(TRasterImage(), 50);
    ADD_FAILURE() << "written";
  } catch (const EImageError& error) {
    EXPECT_EQ(error.Message(), TImageMessage::EmptyImage);
  }
  // And the library works afterwards.
  EXPECT_EQ(DecodeJpeg(EncodeJpeg(Quarters(8, 8), 50)).Width(), 8);
}

TEST(JpegCodecTest, DamagedFilesGiveAnError) {
  std::string good = EncodeJpeg(Quarters(40, 40), 80);
  std::string huge = good;
  size_t sof = huge.find("\xFF\xC2");
  ASSERT_NE(sof, std::string::npos);
  huge[sof + 5] = huge[sof + 7] = '\xEA';  // 60000 × 60000 pixels, beyond what we hold
  huge[sof + 6] = huge[sof + 8] = '\x60';
  struct Case {
    const char* name;
    std::string bytes;
    TImageMessage message;
  } cases[] = {
      {"empty", "", TImageMessage::JpegReadFailed},
      {"not a JPEG", "GIF89a and more bytes", TImageMessage::JpegReadFailed},
      {"header only", good.substr(0, 20), TImageMessage::JpegReadFailed},
      {"huge", huge, TImageMessage::ImageTooLarge},
  };
  for (const Case& c : cases) {
    try {
      DecodeJpeg(c.bytes);
      ADD_FAILURE() << c.name << " decoded";
    } catch (const EImageError& error) {
      EXPECT_EQ(error.Message(), c.message) << c.name << ": " << error.what();
    }
  }
  // A file cut short anywhere decodes what is there (libjpeg's warning is
  // not printed) or fails with a message; it never ends the process.
  for (size_t size = 1; size < good.size(); size += 7) {
    try {
      EXPECT_EQ(DecodeJpeg(good.substr(0, size)).Width(), 40);
    } catch (const EImageError& error) {
      EXPECT_EQ(error.Message(), TImageMessage::JpegReadFailed) << error.what();
    }
  }
}

}  // namespace
}  // namespace kerv
