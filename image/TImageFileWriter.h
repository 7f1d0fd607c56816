#pragma once
// Image files of every output type, written safely: the bytes are made in
// memory first and then go through IFileSystem::WriteFile, which writes a
// temporary file beside the target and renames it, so a failure never
// leaves a half-written image nor harms an image already there.

#include <string>
#include <string_view>

#include "image/TImageOutputType.h"
#include "image/TPngWriter.h"
#include "image/TRasterImage.h"
#include "platform/FileSystem.h"

namespace kerv {

// The image an encoding writes: a BMP type's reduction (the image itself
// when it already has that depth), otherwise the image unchanged. The image
// window shows this after saving as a BMP type.
TRasterImage ReduceForEncoding(const TRasterImage& image, TImageEncoding encoding);

class TImageFileWriter {
 public:
  // clock stamps PNG files (empty: the system's).
  explicit TImageFileWriter(IFileSystem& fs, TImageClock clock = {});

  // The file's bytes (for the clipboard, for tests). BMP types reduce first;
  // JPEG takes jpegQuality (clamped to 1-100). Throws EImageError.
  std::string Encode(const TRasterImage& image, TImageEncoding encoding, int jpegQuality);
  // Encodes and writes path. Every failure, of the encoding or of the write,
  // is EImageError (SaveFailed) with the cause on its second line; nothing
  // is then written.
  void Save(const std::string& path, const TRasterImage& image, TImageEncoding encoding, int jpegQuality);
  // Writes image number of a continuous conversion (NumberedImagePath) and
  // returns its path. A stem with a format directive is refused before
  // anything is written (StemDirective).
  std::string SaveNumbered(const TRasterImage& image, const std::string& folder, std::string_view stem, int number,
                           int typeIndex, int jpegQuality);

 private:
  IFileSystem& fs_;
  TPngWriter png_;
};

}  // namespace kerv
