#include "image/TImageFileWriter.h"

#include <new>
#include <string>

#include "image/EImageError.h"
#include "image/TBmpWriter.h"
#include "image/TColorReducer.h"
#include "image/TJpegCodec.h"

namespace kerv {

TRasterImage ReduceForEncoding(const TRasterImage& image, TImageEncoding encoding) {
  if (!IsBmpEncoding(encoding) || image.Format() == EncodingFormat(encoding)) return image;
  return ReduceToFormat(image, EncodingFormat(encoding));
}

TImageFileWriter::TImageFileWriter(IFileSystem& fs, TImageClock clock) : fs_(fs), png_(std::move(clock)) {}

std::string TImageFileWriter::Encode(const TRasterImage& image, TImageEncoding encoding, int jpegQuality) {
  CheckImageSize(image.Width(), image.Height(), image.Format());
  switch (encoding) {
    case TImageEncoding::Png: return png_.Encode(image);
    case TImageEncoding::Jpeg: return EncodeJpeg(image, jpegQuality);
    case TImageEncoding::Bmp4:
    case TImageEncoding::Bmp8:
    case TImageEncoding::Bmp24:
    case TImageEncoding::Bmp1: break;
  }
  // An image already at the depth is written without a copy.
  if (image.Format() == EncodingFormat(encoding)) return EncodeBmp(image);
  return EncodeBmp(ReduceToFormat(image, EncodingFormat(encoding)));
}

void TImageFileWriter::Save(const std::string& path, const TRasterImage& image, TImageEncoding encoding,
                            int jpegQuality) {
  std::string bytes;
  try {
    bytes = Encode(image, encoding, jpegQuality);
  } catch (const EImageError& error) {
    throw EImageError::WithCause(TImageMessage::SaveFailed, error.what());
  } catch (const std::bad_alloc&) {
    throw EImageError::WithCause(
        TImageMessage::SaveFailed,
        FormatImageMessage(TImageMessage::OutOfMemory, {std::to_string(image.Width()), std::to_string(image.Height())}));
  }
  try {
    fs_.WriteFile(path, bytes);
  } catch (const EFileError& error) {
    throw EImageError::WithCause(TImageMessage::SaveFailed, error.what());
  }
}

std::string TImageFileWriter::SaveNumbered(const TRasterImage& image, const std::string& folder, std::string_view stem,
                                           int number, int typeIndex, int jpegQuality) {
  std::string path = NumberedImagePath(folder, stem, number, typeIndex);
  Save(path, image, ImageOutputType(typeIndex).encoding, jpegQuality);
  return path;
}

}  // namespace kerv
