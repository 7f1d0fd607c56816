#pragma once
// BMP files: BITMAPFILEHEADER, BITMAPINFOHEADER, the palette of an indexed
// image, then the rows bottom-up, each padded to four bytes, uncompressed.

#include <string>

#include "image/TRasterImage.h"

namespace kerv {

// The whole file for an image of any format, at the image's own depth
// (reduce it first for another). Throws EImageError for the empty image.
std::string EncodeBmp(const TRasterImage& image);

}  // namespace kerv
