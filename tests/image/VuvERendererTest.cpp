// The converter's drawing and its two conversions, checked on the pixels
// and on the files written (decoded back with Qt's readers).

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "image/EImageError.h"
#include "image/TImageFileWriter.h"
#include "image/TImageOutputType.h"
#include "image/qt/TVuvEConverter.h"
#include "image/qt/TVuvERenderer.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"
#include "tests/QtTestApplication.h"

namespace kerv {
namespace {

constexpr TRgb kWhite{255, 255, 255};
constexpr TRgb kRed{255, 0, 0};
constexpr TRgb kGreen{0, 255, 0};
constexpr TRgb kBlue{0, 0, 255};
constexpr int kDpi = 96;

class VuvERendererTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { TestApplication<QGuiApplication>(); }

  // Plain settings: white background, black 12-point text in an installed font.
  static TVuvESettings Plain() {
    TVuvESettings s;
    s.Font.Name = "DejaVu Sans";
    s.Font.Size = 12;
    s.Font.Color = 0x000000;
    return s;
  }
  // A picture file in the fake file system: green with a red top-left pixel.
  std::string AddPicture(const std::string& path, int width, int height, const char* format = "PNG") {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(QColor(0, 255, 0));
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    fs_.AddFile(path, bytes.toStdString());
    return path;
  }
  TVuvEConverter Converter(const TVuvESettings& settings) { return TVuvEConverter(fs_, codePage_, settings, kDpi); }
  QFont Font(const TVuvESettings& s) { return VuvEQFont(QString::fromStdString(s.Font.Name), s.Font, kDpi); }

  // Rows (top-down) holding any pixel that is not the colour.
  static std::vector<int> RowsNotOf(const TRasterImage& image, TRgb colour) {
    std::vector<int> rows;
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width(); ++x) {
        if (!(image.Pixel(x, y) == colour)) {
          rows.push_back(y);
          break;
        }
      }
    }
    return rows;
  }
  static std::vector<int> ColumnsNotOf(const TRasterImage& image, TRgb colour) {
    std::vector<int> columns;
    for (int x = 0; x < image.Width(); ++x) {
      for (int y = 0; y < image.Height(); ++y) {
        if (!(image.Pixel(x, y) == colour)) {
          columns.push_back(x);
          break;
        }
      }
    }
    return columns;
  }

  FakeFileSystem fs_;
  IconvCodePage codePage_;
};

TEST_F(VuvERendererTest, FitTextIsTheWidestLineByAllLinesAndMarginsCutIntoIt) {
  TVuvESettings s = Plain();
  const QFontMetrics metrics(Font(s));
  const int widest = metrics.horizontalAdvance(QStringLiteral("a longer line"));
  const TImageSize textSize{widest, 3 * metrics.height()};
  EXPECT_EQ(TVuvERenderer(s, Font(s)).MeasureText(QStringLiteral("short\r\na longer line\nx")), textSize);

  s.LeftMargin = 5;
  s.TopMargin = 6;
  s.RightMargin = 7;
  s.BottomMargin = 8;
  TRasterImage image = Converter(s).RenderSingle("short\r\na longer line\r\nx");
  EXPECT_EQ(TImageSize(image.Width(), image.Height()), textSize);
  // Without "余白分を拡張" the margins are taken from the text: nothing is drawn in them.
  const std::vector<int> columns = ColumnsNotOf(image, kWhite);
  const std::vector<int> rows = RowsNotOf(image, kWhite);
  ASSERT_FALSE(columns.empty());
  EXPECT_GE(columns.front(), 5);
  EXPECT_LT(columns.back(), textSize.width - 7);
  EXPECT_GE(rows.front(), 6);
  EXPECT_LT(rows.back(), textSize.height - 8);

  s.ExpMargin = true;
  image = Converter(s).RenderSingle("short\r\na longer line\r\nx");
  EXPECT_EQ(TImageSize(image.Width(), image.Height()), (TImageSize{textSize.width + 12, textSize.height + 14}));
}

TEST_F(VuvERendererTest, TabsExpandToStopsOfEightAverageCharacters) {
  const TVuvESettings s = Plain();
  const QFontMetrics metrics(Font(s));
  const int stop = 8 * metrics.averageCharWidth();
  TVuvERenderer renderer(s, Font(s));
  EXPECT_EQ(renderer.LineWidth(QStringLiteral("\tx")), stop + metrics.horizontalAdvance(QLatin1Char('x')));
  EXPECT_EQ(renderer.LineWidth(QStringLiteral("a\t\t")), 2 * stop);
}

TEST_F(VuvERendererTest, FitPictureAddsTheMarginsWhenExpanded) {
  TVuvESettings s = Plain();
  s.SizeSetType = TVuvESizeMode::FitPicture;
  s.UseBackImage = true;
  s.BackImagePath = "  " + AddPicture("/pics/bg.png", 640, 480) + " ";
  s.LeftMargin = 10;
  s.TopMargin = 20;
  s.RightMargin = 30;
  s.BottomMargin = 40;
  s.ExpMargin = true;
  TRasterImage image = Converter(s).RenderSingle("text");
  EXPECT_EQ(TImageSize(image.Width(), image.Height()), (TImageSize{680, 540}));
  s.ExpMargin = false;
  image = Converter(s).RenderSingle("text");
  EXPECT_EQ(TImageSize(image.Width(), image.Height()), (TImageSize{640, 480}));
  // The dialog's remembered size wins over the picture's.
  TVuvEConverter remembered = Converter(s);
  remembered.SetPictureSize(TImageSize{50, 60});
  EXPECT_EQ(remembered.ImageSize(QStringLiteral("text")), (TImageSize{50, 60}));
}

TEST_F(VuvERendererTest, TiledPictureIsCopiedColumnByColumnUntilTheImageIsCovered) {
  TVuvESettings s = Plain();
  s.SizeSetType = TVuvESizeMode::Given;
  s.SizeX = 250;
  s.SizeY = 120;
  s.UseBackImage = true;
  s.BackImagePath = AddPicture("/pics/tile.bmp", 100, 100, "BMP");
  s.TileBackImage = true;
  const TRasterImage tiled = Converter(s).RenderSingle("");
  int copies = 0;
  for (int y = 0; y < tiled.Height(); ++y) {
    for (int x = 0; x < tiled.Width(); ++x) {
      if (tiled.Pixel(x, y) == kRed) {
        ++copies;
        EXPECT_EQ(x % 100, 0);
        EXPECT_EQ(y % 100, 0);
      }
    }
  }
  EXPECT_EQ(copies, 6);
  EXPECT_EQ(tiled.Pixel(249, 119), kGreen);

  s.TileBackImage = false;
  const TRasterImage once = Converter(s).RenderSingle("");
  EXPECT_EQ(once.Pixel(0, 0), kRed);
  EXPECT_EQ(once.Pixel(99, 99), kGreen);
  EXPECT_EQ(once.Pixel(100, 0), kWhite);
  EXPECT_EQ(once.Pixel(0, 100), kWhite);
}

TEST_F(VuvERendererTest, TilingLetsEventsThroughAboutTenTimesASecondNotAfterEveryTile) {
  TVuvESettings s = Plain();
  s.TileBackImage = true;
  TVuvERenderer renderer(s, Font(s));
  // Each look at the clock moves it on 1 ms: 2000 columns take 2 s.
  auto now = std::chrono::steady_clock::time_point();
  renderer.SetEventClock([&] { return now += std::chrono::milliseconds(1); });
  int calls = 0;
  renderer.LetEventsThrough = [&] { ++calls; };
  QImage picture(1, 1, QImage::Format_RGB32);
  picture.fill(Qt::red);
  const TRasterImage image = renderer.Render(TImageSize{2000, 3}, QString(), true, &picture);
  EXPECT_GE(calls, 15);
  EXPECT_LE(calls, 25);
  EXPECT_EQ(image.Pixel(1999, 2), kRed);
}

TEST_F(VuvERendererTest, MarginBandsAreFilledAroundTheBackground) {
  TVuvESettings s = Plain();
  s.SizeSetType = TVuvESizeMode::Given;
  s.SizeX = 200;
  s.SizeY = 150;
  s.LeftMargin = 10;
  s.TopMargin = 20;
  s.RightMargin = 30;
  s.BottomMargin = 40;
  s.BackColor = kBlue.ToColor();
  s.FillColor = kRed.ToColor();
  s.FillMargin = true;
  const TRasterImage image = Converter(s).RenderSingle("");
  struct Probe {
    int x, y;
    TRgb colour;
  } probes[] = {
      {5, 75, kRed},   {195, 75, kRed},   {100, 10, kRed}, {100, 140, kRed}, {0, 0, kRed},    {199, 149, kRed},
      {10, 20, kBlue}, {169, 109, kBlue}, {9, 75, kRed},   {170, 75, kRed},  {100, 19, kRed}, {100, 110, kRed},
  };
  for (const Probe& p : probes) EXPECT_EQ(image.Pixel(p.x, p.y), p.colour) << p.x << "," << p.y;

  s.FillMargin = false;
  const TRasterImage unfilled = Converter(s).RenderSingle("");
  EXPECT_EQ(unfilled.Pixel(5, 75), kBlue);
}

TEST_F(VuvERendererTest, OnlyASingleLineIsCentredVertically) {
  TVuvESettings s = Plain();
  s.SizeSetType = TVuvESizeMode::Given;
  s.SizeX = 200;
  s.SizeY = 200;
  s.TextVAlign = true;
  const int lineHeight = QFontMetrics(Font(s)).height();
  // One line, and one line with blank lines after it: centred.
  for (const char* text : {"Hg", "Hg\r\n\r\n  \r\n"}) {
    const std::vector<int> rows = RowsNotOf(Converter(s).RenderSingle(text), kWhite);
    ASSERT_FALSE(rows.empty());
    EXPECT_GE(rows.front(), (200 - lineHeight) / 2) << text;
    EXPECT_LE(rows.back(), (200 + lineHeight) / 2) << text;
  }
  // Three lines: from the top.
  const std::vector<int> rows = RowsNotOf(Converter(s).RenderSingle("Hg\r\nHg\r\nHg"), kWhite);
  ASSERT_FALSE(rows.empty());
  EXPECT_LT(rows.front(), lineHeight);
  // Without centring a single line starts at the top too.
  s.TextVAlign = false;
  EXPECT_LT(RowsNotOf(Converter(s).RenderSingle("Hg"), kWhite).front(), lineHeight);
}

TEST_F(VuvERendererTest, TrailingBlankLinesAreNotDrawnNorMeasured) {
  const TVuvESettings s = Plain();
  const int lineHeight = QFontMetrics(Font(s)).height();
  const TRasterImage image = Converter(s).RenderSingle("one\r\ntwo\r\n\r\n \t\r\n");
  EXPECT_EQ(image.Height(), 2 * lineHeight);
}

TEST_F(VuvERendererTest, AlignmentPutsEachLineInTheBox) {
  TVuvESettings s = Plain();
  s.SizeSetType = TVuvESizeMode::Given;
  s.SizeX = 300;
  s.SizeY = 40;
  s.LeftMargin = 20;
  s.RightMargin = 20;
  const int width = QFontMetrics(Font(s)).horizontalAdvance(QStringLiteral("IIII"));
  struct Case {
    TVuvEAlign align;
    int left;
  } cases[] = {{TVuvEAlign::Left, 20}, {TVuvEAlign::Center, 20 + (260 - width) / 2}, {TVuvEAlign::Right, 280 - width}};
  for (const Case& c : cases) {
    s.TextAlign = c.align;
    const std::vector<int> columns = ColumnsNotOf(Converter(s).RenderSingle("IIII"), kWhite);
    ASSERT_FALSE(columns.empty());
    EXPECT_NEAR(columns.front(), c.left, 3) << static_cast<int>(c.align);
    EXPECT_LE(columns.back(), c.left + width);
  }
}

TEST_F(VuvERendererTest, EmptyAndOversizedImagesAreRefusedBeforeDrawing) {
  TVuvESettings s = Plain();
  try {
    Converter(s).RenderSingle("\r\n  \r\n");
    FAIL() << "an empty text fitted to nothing";
  } catch (const EImageError& error) {
    EXPECT_EQ(error.Message(), TImageMessage::EmptyImage);
  }
  s.SizeSetType = TVuvESizeMode::Given;
  s.SizeX = 30000;
  s.SizeY = 30000;
  try {
    Converter(s).RenderSingle("x");
    FAIL() << "2.7 GB image";
  } catch (const EImageError& error) {
    EXPECT_EQ(error.Message(), TImageMessage::ImageTooLarge);
  }
}

TEST_F(VuvERendererTest, UnreadablePicturesFailWithTheOpenMessage) {
  fs_.AddFile("/pics/damaged.png", "\x89PNG\r\n\x1a\nnot really");
  AddPicture("/pics/picture.gif", 10, 10);
  for (const char* path : {"/pics/damaged.png", "/pics/missing.jpg", "/pics/picture.gif"}) {
    TVuvESettings s = Plain();
    s.UseBackImage = true;
    s.BackImagePath = path;
    try {
      Converter(s).RenderSingle("x");
      ADD_FAILURE() << path;
    } catch (const EImageError& error) {
      EXPECT_EQ(error.Message(), TImageMessage::BackgroundOpenFailed) << path;
    }
  }
  // A path of blanks means no picture at all.
  TVuvESettings s = Plain();
  s.UseBackImage = true;
  s.BackImagePath = "   ";
  EXPECT_NO_THROW(Converter(s).RenderSingle("x"));
}

class VuvEContinuousTest : public VuvERendererTest {
 protected:
  TVuvESettings Continuous(const std::string& folder, int type) {
    TVuvESettings s = Plain();
    s.CntCnv = true;
    s.CntCnv_Foldor = folder;
    s.CntCnv_FileName = "img";
    s.CntCnv_FileType = type;
    s.FirstLine = 2;
    s.LastLine = 5;
    return s;
  }
  std::vector<std::string> written_;
};

TEST_F(VuvEContinuousTest, LinesTwoToFiveWithAnEmptyLineWriteThreeNumberedFiles) {
  fs_.AddFolder("/out");
  const std::string text = "first\r\nsecond\r\n\r\nfourth line\r\nfifth\r\nsixth\r\n";
  for (const char* folder : {"/out", "/out/"}) {
    written_.clear();
    TVuvESettings s = Continuous(folder, 4);
    TImageFileWriter writer(fs_);
    TVuvEConverter converter = Converter(s);
    const int count = converter.ConvertEachLine(
        text, writer, [] { return 50; }, [&](int, const std::string& path) { written_.push_back(path); });
    EXPECT_EQ(count, 3);
    EXPECT_EQ(written_, (std::vector<std::string>{"/out/img000.png", "/out/img001.png", "/out/img002.png"})) << folder;
  }
  // Each image is its own line, measured by itself.
  const QFontMetrics metrics(Font(Plain()));
  const char* lines[] = {"second", "fourth line", "fifth"};
  for (int n = 0; n < 3; ++n) {
    const std::string bytes = fs_.Contents(written_[static_cast<size_t>(n)]);
    const QImage image = QImage::fromData(QByteArray::fromStdString(bytes), "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(metrics.horizontalAdvance(QString::fromLatin1(lines[n])), metrics.height()));
  }
  EXPECT_FALSE(fs_.FileExists("/out/img003.png"));
}

TEST_F(VuvEContinuousTest, EveryTypeWritesWhatQtReadsAndJpegAsksItsQuality) {
  fs_.AddFolder("/out");
  for (const TImageOutputType& type : ImageOutputTypes()) {
    SCOPED_TRACE(type.comboItem);
    TVuvESettings s = Continuous("/out", type.index);
    s.FirstLine = 1;
    s.LastLine = 1;
    TImageFileWriter writer(fs_);
    int asked = 0;
    Converter(s).ConvertEachLine("line", writer, [&] {
      ++asked;
      return 80;
    });
    EXPECT_EQ(asked, type.encoding == TImageEncoding::Jpeg ? 1 : 0);
    const std::string path = std::string("/out/img000") + type.extension;
    const QImage image = QImage::fromData(QByteArray::fromStdString(fs_.Contents(path)));
    ASSERT_FALSE(image.isNull()) << path;
    EXPECT_EQ(image.height(), QFontMetrics(Font(s)).height());
  }
  // "img" with the type "jpeg" is img000.jpeg.
  EXPECT_TRUE(fs_.FileExists("/out/img000.jpeg"));
}

TEST_F(VuvEContinuousTest, AStemDirectiveOrAFailedWriteStopsTheRun) {
  fs_.AddFolder("/out");
  TVuvESettings s = Continuous("/out", 4);
  s.CntCnv_FileName = "a%s";
  TImageFileWriter writer(fs_);
  EXPECT_THROW(Converter(s).ConvertEachLine("1\r\n2\r\n3\r\n4\r\n5", writer, {}), EImageError);
  EXPECT_EQ(fs_.ListFiles("/out", "*").size(), 0u);

  // The second image cannot be written: the first stays, no third is made.
  s.CntCnv_FileName = "b";
  fs_.FailWritesTo("/out/b001.png");
  try {
    Converter(s).ConvertEachLine("1\r\n2\r\n3\r\n4\r\n5", writer, {});
    FAIL();
  } catch (const EImageError& error) {
    EXPECT_EQ(error.Message(), TImageMessage::SaveFailed);
  }
  EXPECT_TRUE(fs_.FileExists("/out/b000.png"));
  EXPECT_FALSE(fs_.FileExists("/out/b002.png"));
}

TEST_F(VuvERendererTest, PreviewPaintMatchesTheImageOnAShiftedPainter) {
  TVuvESettings s = Plain();
  s.SizeSetType = TVuvESizeMode::Given;
  s.SizeX = 60;
  s.SizeY = 30;
  s.LeftMargin = 3;
  s.FillMargin = true;
  s.FillColor = kRed.ToColor();
  TVuvERenderer renderer(s, Font(s));
  const TRasterImage image = renderer.Render(TImageSize{60, 30}, QStringLiteral("Ab"), true, nullptr);
  QImage shifted(70, 40, QImage::Format_RGB888);
  shifted.fill(Qt::gray);
  QPainter painter(&shifted);
  painter.translate(4, 4);
  renderer.Paint(painter, TImageSize{60, 30}, QStringLiteral("Ab"), true, nullptr);
  painter.end();
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 60; ++x) {
      const QRgb p = shifted.pixel(x + 4, y + 4);
      ASSERT_EQ(image.Pixel(x, y),
                (TRgb{static_cast<uint8_t>(qRed(p)), static_cast<uint8_t>(qGreen(p)), static_cast<uint8_t>(qBlue(p))}))
          << x << "," << y;
    }
  }
  EXPECT_EQ(shifted.pixel(0, 0), QColor(Qt::gray).rgb());
}

}  // namespace
}  // namespace kerv
