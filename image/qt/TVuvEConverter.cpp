#include "image/qt/TVuvEConverter.h"

#include "image/TImageFileWriter.h"
#include "image/TImageOutputType.h"
#include "image/TJpegCodec.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/qt/QtText.h"

namespace kerv {

std::string TrimmedPicturePath(const TVuvESettings& settings) { return TrimmedPicturePath(settings.BackImagePath); }

std::string TrimmedPicturePath(const std::string& path) {
  const size_t first = path.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return path.substr(first, path.find_last_not_of(' ') - first + 1);
}

bool UsesBackgroundPicture(const TVuvESettings& settings) {
  return settings.UseBackImage && !TrimmedPicturePath(settings).empty();
}

TVuvEConverter::TVuvEConverter(IFileSystem& fs, ICodePage& codePage, const TVuvESettings& settings, int dotsPerInch)
    : fs_(fs),
      codePage_(codePage),
      settings_(settings),
      renderer_(settings, VuvEQFont(SjisToQString(codePage, settings.Font.Name), settings.Font, dotsPerInch)) {}

QString TVuvEConverter::ToText(std::string_view text) const { return SjisToQString(codePage_, text); }

const QImage* TVuvEConverter::Picture() {
  if (!UsesBackgroundPicture(settings_)) return nullptr;
  if (!pictureRead_) {
    picture_ = ReadBackgroundPicture(fs_, TrimmedPicturePath(settings_));
    pictureRead_ = true;
  }
  return &picture_;
}

TImageSize TVuvEConverter::PictureSize() {
  if (pictureSize_) return *pictureSize_;
  const QImage* picture = Picture();
  return picture != nullptr ? TImageSize{picture->width(), picture->height()} : TImageSize{};
}

TImageSize TVuvEConverter::ImageSize(const QString& text) {
  // Only the fitted modes need the text measured or the picture read.
  TImageSize textSize;
  TImageSize pictureSize;
  if (settings_.SizeSetType == TVuvESizeMode::FitText) textSize = renderer_.MeasureText(text);
  if (settings_.SizeSetType == TVuvESizeMode::FitPicture) pictureSize = PictureSize();
  return ImageSizeFor(settings_, textSize, pictureSize);
}

TRasterImage TVuvEConverter::RenderSingle(std::string_view text) {
  const TPreparedText prepared = PrepareText(text);
  const QString shown = ToText(prepared.text);
  return renderer_.Render(ImageSize(shown), shown, prepared.singleLine, Picture());
}

int TVuvEConverter::ConvertEachLine(std::string_view text, TImageFileWriter& writer,
                                    const std::function<int()>& jpegQuality,
                                    const std::function<void(int number, const std::string& path)>& afterEach) {
  const std::vector<TNumberedLine> lines = CollectLines(text, settings_.FirstLine, settings_.LastLine);
  const TImageOutputType& type = ImageOutputType(settings_.CntCnv_FileType);
  // A stem the writer would refuse is refused before the first file.
  FileNameStemText(settings_.CntCnv_FileName);
  const QImage* picture = Picture();
  // Many small files: one flush at the end rather than one per file.
  TFileWriteBatch batch(fs_);
  // Lines of one size share one store.
  TRasterImage image;
  for (const TNumberedLine& line : lines) {
    const QString shown = ToText(line.text);
    const TImageSize size = ImageSize(shown);
    if (image.Width() != size.width || image.Height() != size.height) {
      image = TRasterImage();
      image = TRasterImage(size.width, size.height, TPixelFormat::Rgb24);
    }
    renderer_.RenderInto(image, shown, true, picture);
    const int quality = (type.encoding == TImageEncoding::Jpeg && jpegQuality) ? jpegQuality() : kDefaultJpegQuality;
    const std::string path = writer.SaveNumbered(image, settings_.CntCnv_Foldor, settings_.CntCnv_FileName, line.number,
                                                 settings_.CntCnv_FileType, quality);
    if (afterEach) afterEach(line.number, path);
  }
  return static_cast<int>(lines.size());
}

}  // namespace kerv
