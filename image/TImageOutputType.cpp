#include "image/TImageOutputType.h"

#include <cstdio>

#include "image/EImageError.h"
#include "platform/FileSystem.h"

namespace kerv {
namespace {

constexpr TImageOutputType kTypes[kImageOutputTypeCount] = {
    {0, "bmp(16色)", "BMP:16色(*.bmp)", ".bmp", TImageEncoding::Bmp4},
    {1, "bmp(256色)", "BMP:256色(*.bmp)", ".bmp", TImageEncoding::Bmp8},
    {2, "bmp(24bit)", "BMP:24bit(*.bmp)", ".bmp", TImageEncoding::Bmp24},
    {3, "bmp(モノクロ)", "BMP:モノクロ（*.bmp）", ".bmp", TImageEncoding::Bmp1},
    {4, "png", "PNG(*.png)", ".png", TImageEncoding::Png},
    {5, "jpg", "JPEG（*.jpg）", ".jpg", TImageEncoding::Jpeg},
    {6, "jpeg", nullptr, ".jpeg", TImageEncoding::Jpeg},
};

// The directive as the user typed it, for the message: "%" and the byte
// after it when that is a visible ASCII character.
std::string DirectiveText(std::string_view stem, size_t percent) {
  std::string text = "%";
  if (percent + 1 < stem.size()) {
    char next = stem[percent + 1];
    if (next > ' ' && next < 0x7F) text += next;
  }
  return text;
}

}  // namespace

std::span<const TImageOutputType> ImageOutputTypes() { return kTypes; }

const TImageOutputType& ImageOutputType(int index) {
  return (index >= 0 && index < kImageOutputTypeCount) ? kTypes[index] : kTypes[kDefaultOutputType];
}

TPixelFormat EncodingFormat(TImageEncoding encoding) {
  switch (encoding) {
    case TImageEncoding::Bmp4: return TPixelFormat::Indexed4;
    case TImageEncoding::Bmp8: return TPixelFormat::Indexed8;
    case TImageEncoding::Bmp1: return TPixelFormat::Indexed1;
    case TImageEncoding::Bmp24:
    case TImageEncoding::Png:
    case TImageEncoding::Jpeg: break;
  }
  return TPixelFormat::Rgb24;
}

bool IsBmpEncoding(TImageEncoding encoding) {
  return encoding != TImageEncoding::Png && encoding != TImageEncoding::Jpeg;
}

std::string FileNameStemText(std::string_view stem) {
  // "%" is a single byte in UTF-8 and never the second byte of a Shift_JIS
  // character, so a byte walk finds every directive.
  std::string text;
  text.reserve(stem.size());
  for (size_t i = 0; i < stem.size(); ++i) {
    if (stem[i] != '%') {
      text += stem[i];
    } else if (i + 1 < stem.size() && stem[i + 1] == '%') {
      text += '%';
      ++i;
    } else {
      throw EImageError(TImageMessage::StemDirective, {DirectiveText(stem, i)});
    }
  }
  return text;
}

std::string NumberedFileName(std::string_view stem, int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%.3d", number);
  return FileNameStemText(stem) + digits;
}

std::string NumberedImagePath(const std::string& folder, std::string_view stem, int number, int typeIndex) {
  return IncludeTrailingSlash(folder) + NumberedFileName(stem, number) + ImageOutputType(typeIndex).extension;
}

std::optional<TImageEncoding> EncodingOfExtension(const std::string& path) {
  std::string extension = ExtractFileExt(path);
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (extension == ".png") return TImageEncoding::Png;
  if (extension == ".jpg" || extension == ".jpeg") return TImageEncoding::Jpeg;
  if (extension == ".bmp") return TImageEncoding::Bmp24;
  return std::nullopt;
}

}  // namespace kerv
