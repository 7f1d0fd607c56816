#pragma once
// JPEG through libjpeg: progressive colour files at a quality of 1-100, and
// decoding (background pictures, tests). libjpeg's own error handler ends the
// process; ours returns to the caller, which throws EImageError with
// libjpeg's text, so a bad size or a damaged file never ends the program.

#include <cstdint>
#include <string>
#include <string_view>

#include "image/TRasterImage.h"

namespace kerv {

inline constexpr int kDefaultJpegQuality = 50;
// A stored quality outside 1-100 is brought to the nearer end.
int ClampJpegQuality(int quality);

// Red, green, blue bytes of row (0-based, top-down) of an image width pixels
// wide; scratch holds 3 × width bytes for a source that has to expand a row.
using TJpegRowSource = const uint8_t* (*)(const void* context, int row, uint8_t* scratch);

// The file for width × height pixels from a row source. The size is handed
// to libjpeg as it stands, which refuses what it cannot write (a side of 0,
// one above 65500): EImageError (JpegFailed) with libjpeg's message.
std::string EncodeJpegRows(int width, int height, int quality, TJpegRowSource rows, const void* context);
// The file for an image of any format (indexed images are expanded through
// their palette): progressive, colour, at the quality given (clamped).
// Throws EImageError (the empty image is refused before libjpeg sees it).
std::string EncodeJpeg(const TRasterImage& image, int quality);

// A 24-bit image of a JPEG file (grey files come out as grey RGB). Throws
// EImageError: JpegReadFailed for a damaged file, or the size errors of
// TRasterImage for a picture too large to hold.
TRasterImage DecodeJpeg(std::string_view bytes);

}  // namespace kerv
