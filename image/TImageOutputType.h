#pragma once
// The output types of the converter (the continuous conversion's combo; the
// image window's save dialog offers the first six in the same order) and
// the numbered file names of a continuous conversion.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "image/TRasterImage.h"

namespace kerv {

enum class TImageEncoding { Bmp4, Bmp8, Bmp24, Bmp1, Png, Jpeg };

struct TImageOutputType {
  int index;
  const char* comboItem;       // UTF-8
  const char* saveDialogType;  // UTF-8; null for the type the save dialog does not offer
  const char* extension;       // with the dot
  TImageEncoding encoding;
};

inline constexpr int kImageOutputTypeCount = 7;
inline constexpr int kSaveDialogTypeCount = 6;
inline constexpr int kDefaultOutputType = 2;  // "bmp(24bit)"

std::span<const TImageOutputType> ImageOutputTypes();
// The type of a combo index; an index outside 0-6 gives the default type.
const TImageOutputType& ImageOutputType(int index);

// The depth a BMP encoding reduces to; 24 bits for PNG and JPEG, which
// write what they are given.
TPixelFormat EncodingFormat(TImageEncoding encoding);
bool IsBmpEncoding(TImageEncoding encoding);
// The encoding a file name's extension names plainly (.png, .jpg or .jpeg,
// .bmp in any case; BMP as 24 bits), if any.
std::optional<TImageEncoding> EncodingOfExtension(const std::string& path);

// The stem as it appears in a file name: "%%" stands for one "%". Any other
// "%" would be a format directive, which a file name must never be run
// through; it is refused with EImageError (StemDirective). Call it before
// anything is written.
std::string FileNameStemText(std::string_view stem);
// stem, then number with at least three digits: "img" and 7 give "img007",
// 1000 gives "img1000". Throws as FileNameStemText.
std::string NumberedFileName(std::string_view stem, int number);
// folder (with or without its trailing '/'), the numbered name and the
// type's extension.
std::string NumberedImagePath(const std::string& folder, std::string_view stem, int number, int typeIndex);

}  // namespace kerv
