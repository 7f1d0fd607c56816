// The output types, encoding by type, safe saving and numbered names.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "image/EImageError.h"
#include "image/TImageFileWriter.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/PosixFileSystem.h"
#include "tests/image/ImageTestSupport.h"

namespace kerv {
namespace {

std::chrono::system_clock::time_point FixedTime() {
  return std::chrono::system_clock::time_point(std::chrono::seconds(1700000000));
}

TEST(ImageFileWriterTest, TheOutputTypeTable) {
  struct Row {
    const char* combo;
    const char* saveType;
    const char* extension;
    TImageEncoding encoding;
  } expected[] = {
      {"bmp(16色)", "BMP:16色(*.bmp)", ".bmp", TImageEncoding::Bmp4},
      {"bmp(256色)", "BMP:256色(*.bmp)", ".bmp", TImageEncoding::Bmp8},
      {"bmp(24bit)", "BMP:24bit(*.bmp)", ".bmp", TImageEncoding::Bmp24},
      {"bmp(モノクロ)", "BMP:モノクロ（*.bmp）", ".bmp", TImageEncoding::Bmp1},
      {"png", "PNG(*.png)", ".png", TImageEncoding::Png},
      {"jpg", "JPEG（*.jpg）", ".jpg", TImageEncoding::Jpeg},
      {"jpeg", nullptr, ".jpeg", TImageEncoding::Jpeg},
  };
  ASSERT_EQ(ImageOutputTypes().size(), std::size(expected));
  std::string filter;
  for (size_t i = 0; i < std::size(expected); ++i) {
    const TImageOutputType& type = ImageOutputTypes()[i];
    EXPECT_EQ(type.index, static_cast<int>(i));
    EXPECT_STREQ(type.comboItem, expected[i].combo);
    EXPECT_STREQ(type.extension, expected[i].extension);
    EXPECT_EQ(type.encoding, expected[i].encoding);
    if (expected[i].saveType == nullptr) {
      EXPECT_EQ(type.saveDialogType, nullptr);
      continue;
    }
    EXPECT_STREQ(type.saveDialogType, expected[i].saveType);
    filter += std::string(filter.empty() ? "" : "|") + type.saveDialogType + "|*" + type.extension;
  }
  // The save dialog's list is the first six types in order.
  EXPECT_EQ(filter, ImageMessage(TImageMessage::SaveImageFilter));
  EXPECT_EQ(ImageOutputType(-1).index, 2);
  EXPECT_EQ(ImageOutputType(7).index, 2);
}

TEST(ImageFileWriterTest, EachTypeWritesItsFormat) {
  FakeFileSystem fs;
  TImageFileWriter writer(fs, FixedTime);
  TRasterImage image = test::TextLikeImage(41, 30);
  const int bmpBits[] = {4, 8, 24, 1};
  for (const TImageOutputType& type : ImageOutputTypes()) {
    SCOPED_TRACE(type.index);
    std::string file = writer.Encode(image, type.encoding, 75);
    if (IsBmpEncoding(type.encoding)) {
      test::DecodedBmp bmp = test::DecodeBmp(file);
      EXPECT_EQ(bmp.bitCount, bmpBits[type.index]);
      EXPECT_EQ(bmp.width, 41);
    } else if (type.encoding == TImageEncoding::Png) {
      test::DecodedPng png = test::DecodePng(file);
      EXPECT_EQ(png.colourType, 2);
      EXPECT_EQ(png.At(40, 29), image.Pixel(40, 29));
    } else {
      EXPECT_EQ(file.substr(0, 2), "\xFF\xD8");
    }
  }
}

TEST(ImageFileWriterTest, ABmpTypeShowsTheReducedImage) {
  TRasterImage image = test::TextLikeImage(20, 10);
  TRasterImage mono = ReduceForEncoding(image, TImageEncoding::Bmp1);
  EXPECT_EQ(mono.Format(), TPixelFormat::Indexed1);
  EXPECT_EQ(ReduceForEncoding(mono, TImageEncoding::Bmp1).Format(), TPixelFormat::Indexed1);
  EXPECT_EQ(ReduceForEncoding(image, TImageEncoding::Png).Format(), TPixelFormat::Rgb24);
  // Writing the reduced image gives the same file as writing the original.
  FakeFileSystem fs;
  TImageFileWriter writer(fs, FixedTime);
  EXPECT_EQ(writer.Encode(mono, TImageEncoding::Bmp1, 50), writer.Encode(image, TImageEncoding::Bmp1, 50));
}

TEST(ImageFileWriterTest, AFailedSaveLeavesTheOldFileAndSaysWhy) {
  FakeFileSystem fs;
  fs.AddFolder("/out");
  fs.AddFile("/out/a.png", "old picture");
  fs.FailWritesTo("/out/a.png");
  TImageFileWriter writer(fs, FixedTime);
  struct Case {
    const char* path;
    TRasterImage image;
  } cases[] = {
      {"/out/a.png", test::TextLikeImage(10, 10)},  // the disk refuses
      {"/missing/b.png", test::TextLikeImage(10, 10)},  // no such folder
      {"/out/c.png", TRasterImage()},                // nothing to write
  };
  for (const Case& c : cases) {
    try {
      writer.Save(c.path, c.image, TImageEncoding::Png, 50);
      ADD_FAILURE() << c.path << " written";
    } catch (const EImageError& error) {
      EXPECT_EQ(error.Message(), TImageMessage::SaveFailed);
      std::string text = error.what();
      EXPECT_EQ(text.find(ImageMessage(TImageMessage::SaveFailed)), 0u);
      EXPECT_NE(text.find('\n'), std::string::npos) << "no cause: " << text;
    }
  }
  EXPECT_EQ(fs.Contents("/out/a.png"), "old picture");
  EXPECT_FALSE(fs.FileExists("/out/c.png"));
}

TEST(ImageFileWriterTest, SavedFilesAreWholeAndNoTemporaryFileStays) {
  char pattern[] = "/tmp/kervimageXXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  std::string dir = std::string(pattern) + "/";
  PosixFileSystem fs;
  TImageFileWriter writer(fs, FixedTime);
  TRasterImage image = test::TextLikeImage(64, 32);
  writer.Save(dir + "a.bmp", image, TImageEncoding::Bmp8, 50);
  writer.Save(dir + "a.bmp", image, TImageEncoding::Bmp24, 50);  // replaces the first
  EXPECT_EQ(fs.ReadFile(dir + "a.bmp"), writer.Encode(image, TImageEncoding::Bmp24, 50));
  EXPECT_THROW(writer.Save(dir + "no/such/folder.bmp", image, TImageEncoding::Bmp24, 50), EImageError);
  EXPECT_EQ(fs.ListFiles(dir, "*"), std::vector<std::string>{"a.bmp"});
  EXPECT_EQ(fs.ListFiles(dir, ".*"), std::vector<std::string>{});
  std::filesystem::remove_all(dir);
}

TEST(ImageFileWriterTest, NumberedImagesGoToTheFolderUnderTheirNumber) {
  FakeFileSystem fs;
  fs.AddFolder("/out");
  TImageFileWriter writer(fs, FixedTime);
  TRasterImage image = test::TextLikeImage(16, 16);
  EXPECT_EQ(writer.SaveNumbered(image, "/out", "img", 0, 6, 50), "/out/img000.jpeg");
  EXPECT_EQ(writer.SaveNumbered(image, "/out/", "img", 12, 4, 50), "/out/img012.png");
  EXPECT_TRUE(fs.FileExists("/out/img000.jpeg"));
  EXPECT_EQ(fs.Contents("/out/img012.png").substr(1, 3), "PNG");
  // A stem with a directive is refused before a byte is written.
  size_t before = fs.FileCount();
  EXPECT_THROW(writer.SaveNumbered(image, "/out", "img%s", 0, 4, 50), EImageError);
  EXPECT_EQ(fs.FileCount(), before);
}

}  // namespace
}  // namespace kerv
