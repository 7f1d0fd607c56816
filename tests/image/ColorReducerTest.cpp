// Colour reduction: exact colours stay exact, the others take their nearest
// palette colour, and the packed depths hold what was chosen.

#include <gtest/gtest.h>

#include "image/TColorReducer.h"
#include "tests/image/ImageTestSupport.h"

namespace kerv {
namespace {

const TRgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255},
    kYellow{255, 255, 0}, kFuchsia{255, 0, 255}, kAqua{0, 255, 255};
const TRgb kExact[] = {kBlack, kWhite, kRed, kGreen, kBlue, kYellow, kFuchsia, kAqua};

int Distance(TRgb a, TRgb b) {
  int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return dr * dr + dg * dg + db * db;
}

// The exact colours in the first row, then noise (more than 256 colours).
TRasterImage ExactColoursOnNoise(int width, int height) {
  TRasterImage image = test::NoiseImage(width, height);
  for (size_t i = 0; i < std::size(kExact); ++i) image.SetPixel(static_cast<int>(i), 0, kExact[i]);
  return image;
}

TEST(ColorReducerTest, BlackWhiteAndPrimariesComeThroughExactly) {
  TRasterImage image = ExactColoursOnNoise(37, 9);
  for (TPixelFormat format : {TPixelFormat::Indexed4, TPixelFormat::Indexed8}) {
    TRasterImage reduced = ReduceToFormat(image, format);
    ASSERT_EQ(reduced.Format(), format);
    for (size_t i = 0; i < std::size(kExact); ++i) {
      EXPECT_EQ(reduced.Pixel(static_cast<int>(i), 0), kExact[i]) << BitsPerPixel(format) << " bits, colour " << i;
    }
  }
  TRasterImage mono = ReduceToMonochrome(image);
  EXPECT_EQ(mono.Pixel(0, 0), kBlack);
  EXPECT_EQ(mono.Pixel(1, 0), kWhite);
}

TEST(ColorReducerTest, SixteenColoursTakeTheNearestOfTheClassicPalette) {
  struct Case {
    TRgb in, out;
  } cases[] = {
      {{200, 200, 200}, {192, 192, 192}}, {{100, 0, 0}, {128, 0, 0}},     {{140, 130, 120}, {128, 128, 128}},
      {{10, 20, 30}, {0, 0, 0}},          {{240, 250, 20}, {255, 255, 0}}, {{0, 100, 120}, {0, 128, 128}},
  };
  TRasterImage image(static_cast<int>(std::size(cases)), 1, TPixelFormat::Rgb24);
  for (size_t i = 0; i < std::size(cases); ++i) image.SetPixel(static_cast<int>(i), 0, cases[i].in);
  TRasterImage reduced = ReduceTo16Colors(image);
  EXPECT_EQ(reduced.Palette().size(), 16u);
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(reduced.Pixel(static_cast<int>(i), 0), cases[i].out) << i;
}

TEST(ColorReducerTest, AnImageOfFewColoursKeepsThemAllIn256) {
  TRasterImage image = test::TextLikeImage(301, 97);
  image.SetPixel(300, 96, TRgb{12, 34, 56});  // a colour no fixed palette has
  TRasterImage reduced = ReduceTo256Colors(image);
  EXPECT_TRUE(test::SamePixels(image, reduced));
  // The palette is the colours in ascending 0x00BBGGRR order, nothing more.
  ASSERT_EQ(reduced.Palette().size(), 5u);
  for (size_t i = 1; i < reduced.Palette().size(); ++i) {
    EXPECT_LT(reduced.Palette()[i - 1].ToColor(), reduced.Palette()[i].ToColor());
  }
}

TEST(ColorReducerTest, ARichImageTakesTheNearestFixedColour) {
  TRasterImage image = test::NoiseImage(64, 64, 99);
  TRasterImage reduced = ReduceTo256Colors(image);
  const std::vector<TRgb>& palette = Fixed256Palette();
  ASSERT_EQ(palette.size(), 256u);
  EXPECT_EQ(reduced.Palette(), palette);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      TRgb in = image.Pixel(x, y);
      TRgb best = palette[static_cast<size_t>(NearestPaletteIndex(palette.data(), 256, in))];
      ASSERT_EQ(Distance(reduced.Pixel(x, y), in), Distance(best, in)) << x << "," << y;
    }
  }
}

TEST(ColorReducerTest, MonochromeSplitsAtHalfLuminance) {
  struct Case {
    TRgb in;
    bool white;
  } cases[] = {
      {{127, 127, 127}, false}, {{128, 128, 128}, true}, {{255, 0, 0}, false}, {{0, 255, 0}, true},
      {{0, 0, 255}, false},     {{255, 255, 0}, true},   {{0, 0, 0}, false},   {{255, 255, 255}, true},
      {{170, 170, 170}, true},  {{85, 85, 85}, false},
  };
  // Nine pixels and more in a row, so that a second byte is packed too.
  TRasterImage image(static_cast<int>(std::size(cases)), 2, TPixelFormat::Rgb24);
  for (size_t i = 0; i < std::size(cases); ++i) {
    image.SetPixel(static_cast<int>(i), 0, cases[i].in);
    image.SetPixel(static_cast<int>(i), 1, cases[std::size(cases) - 1 - i].in);
  }
  TRasterImage mono = ReduceToMonochrome(image);
  EXPECT_EQ(mono.Format(), TPixelFormat::Indexed1);
  EXPECT_EQ(mono.Palette(), (std::vector<TRgb>{kBlack, kWhite}));
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(mono.PixelIndex(static_cast<int>(i), 0), cases[i].white ? 1 : 0) << i;
    EXPECT_EQ(mono.PixelIndex(static_cast<int>(std::size(cases) - 1 - i), 1), cases[i].white ? 1 : 0) << i;
  }
}

TEST(ColorReducerTest, AReducedImageReducesAgain) {
  // The image window may hold a 256-colour image and be saved in 16 colours.
  TRasterImage image = ExactColoursOnNoise(13, 5);
  TRasterImage twice = ReduceTo16Colors(ReduceTo256Colors(image));
  for (size_t i = 0; i < std::size(kExact); ++i) EXPECT_EQ(twice.Pixel(static_cast<int>(i), 0), kExact[i]);
  EXPECT_TRUE(test::SamePixels(ReduceToFormat(twice, TPixelFormat::Rgb24), twice));
  EXPECT_TRUE(ReduceTo16Colors(TRasterImage()).IsEmpty());
}

}  // namespace
}  // namespace kerv
