#pragma once
// A raster image in memory: 24-bit colour, or 1, 4 or 8 bits per pixel
// indexing a palette. Rows run top-down, each padded to a multiple of four
// bytes; a 24-bit pixel is the bytes red, green, blue. That is the layout of
// a QImage in Format_RGB888 (and, for 8 and 1 bits, Format_Indexed8 and
// Format_Mono), so the window layer can paint straight into Bits() or copy
// rows with one memcpy each, and a BMP row is the same bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kerv {

// 0x00BBGGRR, as everywhere in the settings.
using TColor = uint32_t;

struct TRgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const TRgb&, const TRgb&) = default;
  static constexpr TRgb FromColor(TColor color) {
    return TRgb{static_cast<uint8_t>(color & 0xFF), static_cast<uint8_t>((color >> 8) & 0xFF),
                static_cast<uint8_t>((color >> 16) & 0xFF)};
  }
  constexpr TColor ToColor() const { return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16); }
};

// The value is the number of bits per pixel.
enum class TPixelFormat : int { Indexed1 = 1, Indexed4 = 4, Indexed8 = 8, Rgb24 = 24 };

constexpr int BitsPerPixel(TPixelFormat format) { return static_cast<int>(format); }
constexpr bool IsIndexed(TPixelFormat format) { return format != TPixelFormat::Rgb24; }

// The largest image side and pixel store we make. Sizes come from the user
// (up to 30000 × 30000, 2.7 GB at 24 bits) and from measured texts; a store
// the machine cannot hold is refused with a message instead of failing later.
inline constexpr int kMaxImageSide = 30000;
inline constexpr size_t kMaxImageBytes = size_t{512} << 20;

// Bytes of one stored row (padded to four bytes), computed without overflow;
// 0 for a width outside 1..kMaxImageSide.
size_t ImageStride(int width, TPixelFormat format);
// Throws EImageError when an image of this size cannot be made: a side of 0
// or less (EmptyImage), a side above kMaxImageSide or a store above
// kMaxImageBytes (ImageTooLarge). The window layer calls it before it makes
// an image of its own of the same size.
void CheckImageSize(int width, int height, TPixelFormat format = TPixelFormat::Rgb24);

class TRasterImage {
 public:
  // The empty image (0 × 0); nothing can be drawn into or written from it.
  TRasterImage() = default;
  // A zero-filled image (black, or palette entry 0). Indexed images get a
  // palette of 2, 16 or 256 black entries to be set by the caller. Throws
  // EImageError (see CheckImageSize; OutOfMemory when the store cannot be had).
  TRasterImage(int width, int height, TPixelFormat format);

  bool IsEmpty() const { return width_ == 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  TPixelFormat Format() const { return format_; }
  size_t Stride() const { return stride_; }
  // Bytes of a row that hold pixels (without the padding).
  size_t RowBytes() const { return (static_cast<size_t>(width_) * BitsPerPixel(format_) + 7) / 8; }

  uint8_t* Bits() { return bits_.data(); }
  const uint8_t* Bits() const { return bits_.data(); }
  size_t ByteSize() const { return bits_.size(); }
  uint8_t* Row(int row) { return bits_.data() + static_cast<size_t>(row) * stride_; }
  const uint8_t* Row(int row) const { return bits_.data() + static_cast<size_t>(row) * stride_; }

  // Indexed images: 2, 16 or 256 entries at most (fewer allowed); empty for 24 bits.
  const std::vector<TRgb>& Palette() const { return palette_; }
  void SetPalette(std::vector<TRgb> palette);

  // Palette index of a pixel (indexed images); 1- and 4-bit pixels are packed
  // from the high bits of a byte down, as in BMP and PNG.
  int PixelIndex(int x, int y) const;
  void SetPixelIndex(int x, int y, int index);
  // The colour of any pixel (an index outside the palette reads as black).
  TRgb Pixel(int x, int y) const;
  // 24-bit images only.
  void SetPixel(int x, int y, TRgb color);
  // A 24-bit image wholly in one colour.
  void Fill(TRgb color);
  void FillRect(int left, int top, int right, int bottom, TRgb color);

 private:
  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = TPixelFormat::Rgb24;
  size_t stride_ = 0;
  std::vector<uint8_t> bits_;
  std::vector<TRgb> palette_;
};

// The same picture at 24 bits (an indexed image expanded through its
// palette; a 24-bit image copied). For showing a reduced image and for
// writers that take colour only.
TRasterImage ToRgb24(const TRasterImage& image);
// One row of any image expanded to red, green, blue bytes (3 × width).
void ExpandRowToRgb(const TRasterImage& image, int row, uint8_t* out);

}  // namespace kerv
