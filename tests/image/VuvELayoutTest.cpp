// The layout arithmetic: sizes, bands, tiles, the text box, the text as
// drawn, the lines of a continuous conversion, numbered names and the stem
// rule, the line-range limits and the event throttle.

#include <gtest/gtest.h>

#include "image/EImageError.h"
#include "image/TImageOutputType.h"
#include "image/TVuvELayout.h"

namespace kerv {
namespace {

TVuvESettings WithMargins(int left, int top, int right, int bottom) {
  TVuvESettings s;
  s.LeftMargin = left;
  s.TopMargin = top;
  s.RightMargin = right;
  s.BottomMargin = bottom;
  return s;
}

TEST(VuvELayoutTest, ImageSizeOfEachMode) {
  struct Case {
    TVuvESizeMode mode;
    bool expand;
    TImageSize expected;
  } cases[] = {
      {TVuvESizeMode::FitPicture, true, {680, 540}},  // 640 × 480 with margins 10, 20, 30, 40
      {TVuvESizeMode::FitPicture, false, {640, 480}},
      {TVuvESizeMode::FitText, true, {157, 93}},
      {TVuvESizeMode::FitText, false, {117, 33}},
      {TVuvESizeMode::Given, true, {300, 200}},  // the fields, never extended
      {TVuvESizeMode::Given, false, {300, 200}},
  };
  for (const Case& c : cases) {
    TVuvESettings s = WithMargins(10, 20, 30, 40);
    s.SizeSetType = c.mode;
    s.ExpMargin = c.expand;
    EXPECT_EQ(ImageSizeFor(s, TImageSize{117, 33}, TImageSize{640, 480}), c.expected)
        << static_cast<int>(c.mode) << " " << c.expand;
  }
  // An empty text (or no picture) fits to nothing, which no image can be made of.
  TVuvESettings s;
  TImageSize empty = ImageSizeFor(s, TImageSize{}, TImageSize{});
  EXPECT_EQ(empty, (TImageSize{0, 0}));
  EXPECT_THROW(CheckImageSize(empty.width, empty.height), EImageError);
}

TEST(VuvELayoutTest, MarginBandsInTheirOrder) {
  TVuvESettings s = WithMargins(10, 20, 30, 40);
  s.FillMargin = true;
  EXPECT_EQ(MarginFillBands(TImageSize{200, 100}, s),
            (std::vector<TPixelRect>{{0, 0, 200, 20}, {0, 60, 200, 100}, {0, 0, 10, 100}, {170, 0, 200, 100}}));
  s = WithMargins(0, 5, 0, 0);
  s.FillMargin = true;
  EXPECT_EQ(MarginFillBands(TImageSize{200, 100}, s), (std::vector<TPixelRect>{{0, 0, 200, 5}}));
  s = WithMargins(10, 20, 30, 40);
  EXPECT_TRUE(MarginFillBands(TImageSize{200, 100}, s).empty()) << "filling is off";
}

std::vector<TPixelPoint> Tiles(TImageSize image, TImageSize picture, bool tile) {
  TTileGrid grid(image, picture, tile);
  std::vector<TPixelPoint> points;
  for (int64_t i = 0; i < grid.Count(); ++i) points.push_back(grid.At(i));
  return points;
}

TEST(VuvELayoutTest, TilesGoColumnByColumnUntilTheImageIsCovered) {
  EXPECT_EQ(Tiles({250, 120}, {100, 100}, true),
            (std::vector<TPixelPoint>{{0, 0}, {0, 100}, {100, 0}, {100, 100}, {200, 0}, {200, 100}}));
  EXPECT_EQ(Tiles({200, 200}, {100, 100}, true).size(), 4u) << "an exact fit adds no extra row";
  EXPECT_EQ(Tiles({250, 120}, {100, 100}, false), (std::vector<TPixelPoint>{{0, 0}}));
  EXPECT_EQ(Tiles({50, 50}, {100, 100}, true), (std::vector<TPixelPoint>{{0, 0}}));
  EXPECT_TRUE(Tiles({250, 120}, {0, 100}, true).empty()) << "no picture";
  // A one-pixel picture on the largest image: counted, not listed.
  TTileGrid huge({30000, 30000}, {1, 1}, true);
  EXPECT_EQ(huge.Count(), int64_t{900000000});
  EXPECT_EQ(huge.At(huge.Count() - 1), (TPixelPoint{29999, 29999}));
}

TEST(VuvELayoutTest, TheTextBoxAndWhereTheTextStands) {
  TVuvESettings s = WithMargins(10, 20, 30, 40);
  TPixelRect box = TextBox(TImageSize{200, 100}, s);
  EXPECT_EQ(box, (TPixelRect{10, 20, 170, 60}));
  // Margins wider than the image leave an empty box, never an inverted one.
  EXPECT_TRUE(TextBox(TImageSize{30, 50}, s).IsEmpty());
  EXPECT_GE(TextBox(TImageSize{30, 50}, s).Width(), 0);

  s.TextVAlign = true;
  EXPECT_EQ(TextTop(box, 10, true, s), 35) << "one line, centred";
  EXPECT_EQ(TextTop(box, 10, false, s), 20) << "several lines start at the top";
  s.TextVAlign = false;
  EXPECT_EQ(TextTop(box, 10, true, s), 20);

  EXPECT_EQ(LineLeft(box, 60, TVuvEAlign::Left), 10);
  EXPECT_EQ(LineLeft(box, 60, TVuvEAlign::Center), 60);
  EXPECT_EQ(LineLeft(box, 60, TVuvEAlign::Right), 110);

  EXPECT_EQ(FontPixelHeight(10, 96), 13);
  EXPECT_EQ(FontPixelHeight(9, 96), 12);
  EXPECT_EQ(FontPixelHeight(12, 96), 16);
  EXPECT_EQ(FontPixelHeight(11, 96), 15);  // 14.67
}

TEST(VuvELayoutTest, TextIsPreparedForDrawing) {
  struct Case {
    const char* in;
    const char* out;
    bool singleLine;
  } cases[] = {
      {"abc", "abc", true},
      {"abc\r\n\r\n", "abc", true},
      {"a\r\nb\r\n  \r\n\t", "a\r\nb", false},
      {"  indented \t", "  indented", true},
      {"", "", true},
      {"\r\n\r\n", "", true},
      {"a\nb", "a\nb", false},
      {"\x82\xA0\x81\x40", "\x82\xA0\x81\x40", true},  // a full-width blank is a character
  };
  for (const Case& c : cases) {
    TPreparedText text = PrepareText(c.in);
    EXPECT_EQ(text.text, c.out) << c.in;
    EXPECT_EQ(text.singleLine, c.singleLine) << c.in;
  }
}

TEST(VuvELayoutTest, ContinuousConversionCollectsTheNonEmptyLinesOfItsRange) {
  std::string text = "one\r\ntwo\r\n\r\nfour\r\nfive\r\nsix";
  struct Case {
    int first, last;
    std::vector<int> lines;
  } cases[] = {
      {2, 5, {2, 4, 5}},  // line 3 is empty: three files, 000 to 002
      {1, 6, {1, 2, 4, 5, 6}},
      {3, 3, {}},
      {5, 99, {5, 6}},
      {0, 1, {1}},
      {4, 2, {}},
  };
  for (const Case& c : cases) {
    std::vector<TNumberedLine> lines = CollectLines(text, c.first, c.last);
    ASSERT_EQ(lines.size(), c.lines.size()) << c.first << "-" << c.last;
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].number, static_cast<int>(i));
      EXPECT_EQ(lines[i].line, c.lines[i]);
    }
  }
  EXPECT_EQ(CollectLines(text, 2, 5)[1].text, "four");
  // Every kind of line break ends a line; a last line break opens no line.
  std::vector<TNumberedLine> mixed = CollectLines("a\nb\rc\r\n", 1, 10);
  ASSERT_EQ(mixed.size(), 3u);
  EXPECT_EQ(mixed[2].text, "c");
}

TEST(VuvELayoutTest, TheTextMeasuredForFittingTheText) {
  TVuvESettings s;
  EXPECT_EQ(TextToMeasure(s, "whole\r\ntext\r\n\r\n", "sel"), "whole\r\ntext");
  s.AllText = false;
  EXPECT_EQ(TextToMeasure(s, "whole", "sel  \r\n"), "sel");
  s.CntCnv = true;
  s.FirstLine = 2;
  s.LastLine = 4;
  EXPECT_EQ(TextToMeasure(s, "a\r\n\r\nc\r\nd", ""), "c");
}

TEST(VuvELayoutTest, AContinuousConversionIsCheckedBeforeItStarts) {
  struct Case {
    const char* folder;
    const char* stem;
    int first, last;
    bool ok;
    TImageMessage message;
  } cases[] = {
      {"", "img", 1, 3, false, TImageMessage::NoOutputFolder},
      {"   ", "img", 1, 3, false, TImageMessage::NoOutputFolder},
      {"/out", "img", 2, 2, false, TImageMessage::NoText},  // only an empty line
      {"/out", "img%s", 1, 3, false, TImageMessage::StemDirective},
      {"/out", "img%%", 1, 3, true, TImageMessage::NoText},
  };
  for (const Case& c : cases) {
    TVuvESettings s;
    s.CntCnv = true;
    s.CntCnv_Foldor = c.folder;
    s.CntCnv_FileName = c.stem;
    s.FirstLine = c.first;
    s.LastLine = c.last;
    try {
      CheckContinuousConversion(s, "a\r\n\r\nc");
      EXPECT_TRUE(c.ok) << c.folder << " " << c.stem;
    } catch (const EImageError& error) {
      EXPECT_FALSE(c.ok) << error.what();
      EXPECT_EQ(error.Message(), c.message) << error.what();
    }
  }
}

TEST(VuvELayoutTest, NumberedNames) {
  struct Case {
    const char* stem;
    int number;
    const char* name;
  } cases[] = {
      {"img", 0, "img000"},      {"img", 1, "img001"},   {"img", 999, "img999"}, {"img", 1000, "img1000"},
      {"", 42, "042"},           {"a%%b", 3, "a%b003"}, {"%%%%", 0, "%%000"},   {"画像", 5, "画像005"},
      {"100%%_", 7, "100%_007"},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberedFileName(c.stem, c.number), c.name) << c.stem;
}

TEST(VuvELayoutTest, AStemIsNeverAFormat) {
  // Each of these would read or write memory if the stem were a printf format.
  for (const char* stem : {"%s", "%n", "%d", "%", "abc%", "%.3d", "100%x", "%%%", "a%1$s", "%p%%"}) {
    try {
      NumberedFileName(stem, 0);
      ADD_FAILURE() << stem << " accepted";
    } catch (const EImageError& error) {
      EXPECT_EQ(error.Message(), TImageMessage::StemDirective) << stem;
    }
  }
  try {
    FileNameStemText("img%s");
  } catch (const EImageError& error) {
    EXPECT_NE(std::string(error.what()).find("「%s」"), std::string::npos) << error.what();
  }
}

TEST(VuvELayoutTest, NumberedPathsWithAndWithoutTheFoldersSlash) {
  EXPECT_EQ(NumberedImagePath("/out", "img", 0, 6), "/out/img000.jpeg");
  EXPECT_EQ(NumberedImagePath("/out/", "img", 0, 6), "/out/img000.jpeg");
  const char* extensions[] = {".bmp", ".bmp", ".bmp", ".bmp", ".png", ".jpg", ".jpeg"};
  for (int type = 0; type < kImageOutputTypeCount; ++type) {
    EXPECT_EQ(NumberedImagePath("/o", "x", 1, type), std::string("/o/x001") + extensions[type]);
  }
}

TEST(VuvELayoutTest, LineRangeLimits) {
  struct Case {
    int lines, first, last;
    TLineRangeLimits expected;
  } cases[] = {
      {50, 3, 20, {1, 20, 3, 50, 3, 20}},
      {50, 30, 20, {1, 20, 20, 50, 20, 20}},      // the first line cannot pass the last
      {50, 3, 80, {1, 50, 3, 50, 3, 50}},         // nor the last the text
      {20000, 1500, 12000, {1, 10000, 1000, 10000, 1500, 10000}},  // at most 10000; the lower limit stops at 1000
      {0, 1, 1, {1, 1, 1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    TLineRangeLimits got = LineRangeLimits(c.lines, c.first, c.last);
    SCOPED_TRACE(testing::Message() << c.lines << " " << c.first << " " << c.last);
    EXPECT_EQ(got.firstMin, c.expected.firstMin);
    EXPECT_EQ(got.firstMax, c.expected.firstMax);
    EXPECT_EQ(got.lastMin, c.expected.lastMin);
    EXPECT_EQ(got.lastMax, c.expected.lastMax);
    EXPECT_EQ(got.first, c.expected.first);
    EXPECT_EQ(got.last, c.expected.last);
  }
}

TEST(VuvELayoutTest, EventsAreLetThroughAtMostTenTimesASecond) {
  std::chrono::steady_clock::time_point now{};
  TEventThrottle throttle(std::chrono::milliseconds(100), [&] { return now; });
  int due = 0;
  // A thousand tiles in a second.
  for (int tile = 0; tile < 1000; ++tile) {
    now += std::chrono::milliseconds(1);
    if (throttle.Due()) ++due;
  }
  EXPECT_EQ(due, 10);
  now += std::chrono::seconds(5);
  EXPECT_TRUE(throttle.Due());
  EXPECT_FALSE(throttle.Due());
}

}  // namespace
}  // namespace kerv
