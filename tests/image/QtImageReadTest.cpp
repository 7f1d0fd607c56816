// Qt's own image readers open every type the writers make, with the
// writers' pixels; and the ways a window layer trades images with the core:
// painting straight into a core image, and showing a reduced one.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>

#include "image/TImageFileWriter.h"
#include "platform/fake/FakeFileSystem.h"
#include "tests/image/ImageTestSupport.h"
#include "tests/QtTestApplication.h"

namespace kerv {
namespace {

class QtImageReadTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { TestApplication<QGuiApplication>(); }
};

TRgb Rgb(QRgb pixel) {
  return TRgb{static_cast<uint8_t>(qRed(pixel)), static_cast<uint8_t>(qGreen(pixel)), static_cast<uint8_t>(qBlue(pixel))};
}

TEST_F(QtImageReadTest, QtOpensEveryTypeWithTheWritersPixels) {
  FakeFileSystem fs;
  TImageFileWriter writer(fs);
  TRasterImage image = test::TextLikeImage(83, 61);
  image.FillRect(0, 0, 20, 20, TRgb{255, 0, 0});
  for (const TImageOutputType& type : ImageOutputTypes()) {
    SCOPED_TRACE(type.comboItem);
    std::string file = writer.Encode(image, type.encoding, 90);
    QImage read = QImage::fromData(reinterpret_cast<const uchar*>(file.data()), static_cast<int>(file.size()));
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(read.width(), 83);
    EXPECT_EQ(read.height(), 61);
    if (type.encoding == TImageEncoding::Jpeg) {
      TRgb red = Rgb(read.pixel(8, 8));
      EXPECT_GT(red.r, 230);
      EXPECT_LT(red.g, 30);
      continue;
    }
    // Lossless: each pixel is what the (reduced) image holds.
    TRasterImage written = ReduceForEncoding(image, type.encoding);
    for (int y = 0; y < 61; ++y) {
      for (int x = 0; x < 83; ++x) ASSERT_EQ(Rgb(read.pixel(x, y)), written.Pixel(x, y)) << x << "," << y;
    }
  }
}

TEST_F(QtImageReadTest, QtPaintsStraightIntoACoreImage) {
  TRasterImage image(50, 30, TPixelFormat::Rgb24);
  {
    QImage view(image.Bits(), image.Width(), image.Height(), static_cast<qsizetype>(image.Stride()),
                QImage::Format_RGB888);
    QPainter painter(&view);
    painter.fillRect(0, 0, 50, 30, QColor(255, 255, 255));
    painter.fillRect(10, 5, 7, 3, QColor(0, 0, 255));
  }
  EXPECT_EQ(image.Pixel(0, 0), (TRgb{255, 255, 255}));
  EXPECT_EQ(image.Pixel(12, 6), (TRgb{0, 0, 255}));
  EXPECT_EQ(image.Pixel(17, 6), (TRgb{255, 255, 255}));
}

TEST_F(QtImageReadTest, AReducedImageShowsInQt) {
  TRasterImage image = test::TextLikeImage(40, 40);
  TRasterImage mono = ReduceForEncoding(image, TImageEncoding::Bmp1);
  QImage shown(mono.Bits(), mono.Width(), mono.Height(), static_cast<qsizetype>(mono.Stride()), QImage::Format_Mono);
  shown.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) ASSERT_EQ(Rgb(shown.pixel(x, y)), mono.Pixel(x, y)) << x << "," << y;
  }
  // Sixteen colours have no QImage format: they are shown expanded.
  TRasterImage sixteen = ToRgb24(ReduceForEncoding(image, TImageEncoding::Bmp4));
  QImage expanded(sixteen.Bits(), 40, 40, static_cast<qsizetype>(sixteen.Stride()), QImage::Format_RGB888);
  EXPECT_EQ(Rgb(expanded.pixel(39, 39)), sixteen.Pixel(39, 39));
}

}  // namespace
}  // namespace kerv
