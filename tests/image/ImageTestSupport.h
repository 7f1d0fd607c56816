#pragma once
// Readers of our own for the files the writers make, so that every test
// checks bytes decoded back rather than bytes restated; and test pictures.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/TRasterImage.h"

namespace kerv::test {

uint32_t ReadBe32(std::string_view bytes, size_t offset);
uint32_t ReadLe32(std::string_view bytes, size_t offset);
uint16_t ReadLe16(std::string_view bytes, size_t offset);

struct PngChunk {
  std::string type;
  std::string data;
  bool crcValid = false;
};
// The chunks of a PNG file after its signature; a wrong signature or a chunk
// running past the end fails the current test and ends the walk.
std::vector<PngChunk> WalkPng(std::string_view file);

// zlib's inflate of a whole stream; fails the test on a damaged one.
std::string Inflate(std::string_view compressed);

// A PNG decoded by the chunk walk and inflate: the header fields, the
// palette, each scanline's filter byte and the pixels as colours.
struct DecodedPng {
  int width = 0, height = 0, bitDepth = 0, colourType = 0;
  int compression = -1, filterMethod = -1, interlace = -1;
  std::vector<TRgb> palette;
  std::vector<int> filters;
  std::vector<TRgb> pixels;  // row by row
  TRgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
DecodedPng DecodePng(std::string_view file);

// A BMP file parsed back: both headers' fields, the palette and the pixels.
struct DecodedBmp {
  std::string magic;
  uint32_t fileSize = 0, pixelOffset = 0;
  uint32_t infoSize = 0;
  int32_t width = 0, height = 0;
  uint16_t planes = 0, bitCount = 0;
  uint32_t compression = 0, imageSize = 0, colorsUsed = 0;
  std::vector<TRgb> palette;
  std::vector<TRgb> pixels;  // top row first
  TRgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
DecodedBmp DecodeBmp(std::string_view file);

// Black "glyphs" with grey edges on a white page in lines, as rendered text
// looks: few colours in long runs.
TRasterImage TextLikeImage(int width, int height);
// Every pixel a different colour, so nothing compresses and no palette holds it.
TRasterImage NoiseImage(int width, int height, uint32_t seed = 1);
// The same colours in both images, pixel by pixel.
bool SamePixels(const TRasterImage& a, const TRasterImage& b);

}  // namespace kerv::test
