#include "image/TBmpWriter.h"

#include <cstdint>
#include <cstring>

#include "image/EImageError.h"

namespace kerv {
namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
// 96 dots per inch, the screen's resolution, in pixels per metre.
constexpr int32_t kPixelsPerMetre = 3780;

void Put16(std::string& out, uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void Put32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

}  // namespace

std::string EncodeBmp(const TRasterImage& image) {
  CheckImageSize(image.Width(), image.Height(), image.Format());
  int bits = BitsPerPixel(image.Format());
  // Indexed images carry a full palette for their depth: some readers
  // ignore a shorter count in the header.
  uint32_t paletteEntries = IsIndexed(image.Format()) ? (uint32_t{1} << bits) : 0;
  uint32_t stride = static_cast<uint32_t>(image.Stride());
  uint32_t pixelBytes = stride * static_cast<uint32_t>(image.Height());
  uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes + paletteEntries * 4;

  std::string out;
  out.reserve(offset + pixelBytes);
  out += "BM";
  Put32(out, offset + pixelBytes);
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, offset);

  Put32(out, kInfoHeaderBytes);
  Put32(out, static_cast<uint32_t>(image.Width()));
  Put32(out, static_cast<uint32_t>(image.Height()));  // positive: rows run bottom-up
  Put16(out, 1);                                      // planes
  Put16(out, static_cast<uint16_t>(bits));
  Put32(out, 0);  // BI_RGB
  Put32(out, pixelBytes);
  Put32(out, static_cast<uint32_t>(kPixelsPerMetre));
  Put32(out, static_cast<uint32_t>(kPixelsPerMetre));
  Put32(out, paletteEntries);
  Put32(out, 0);  // every colour is important

  for (uint32_t i = 0; i < paletteEntries; ++i) {
    TRgb c = i < image.Palette().size() ? image.Palette()[i] : TRgb{};
    out += static_cast<char>(c.b);
    out += static_cast<char>(c.g);
    out += static_cast<char>(c.r);
    out += '\0';
  }

  size_t start = out.size();
  out.resize(start + pixelBytes);
  char* dest = out.data() + start;
  for (int y = image.Height() - 1; y >= 0; --y, dest += stride) {
    const uint8_t* row = image.Row(y);
    if (image.Format() != TPixelFormat::Rgb24) {
      std::memcpy(dest, row, stride);
      continue;
    }
    // Blue, green, red on disk; the padding stays zero.
    size_t width = static_cast<size_t>(image.Width());
    for (size_t x = 0; x < width; ++x) {
      dest[3 * x] = static_cast<char>(row[3 * x + 2]);
      dest[3 * x + 1] = static_cast<char>(row[3 * x + 1]);
      dest[3 * x + 2] = static_cast<char>(row[3 * x]);
    }
  }
  return out;
}

}  // namespace kerv
