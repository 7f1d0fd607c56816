#include "image/TRasterImage.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "image/EImageError.h"

namespace kerv {

size_t ImageStride(int width, TPixelFormat format) {
  if (width <= 0 || width > kMaxImageSide) return 0;
  uint64_t bits = static_cast<uint64_t>(width) * static_cast<uint64_t>(BitsPerPixel(format));
  return static_cast<size_t>((bits + 31) / 32 * 4);
}

void CheckImageSize(int width, int height, TPixelFormat format) {
  if (width <= 0 || height <= 0) {
    throw EImageError(TImageMessage::EmptyImage, {std::to_string(width), std::to_string(height)});
  }
  if (width > kMaxImageSide || height > kMaxImageSide) {
    throw EImageError(TImageMessage::ImageTooLarge, {std::to_string(width), std::to_string(height)});
  }
  // Both sides are at most 30000, so the product fits in 64 bits with room to spare.
  uint64_t bytes = static_cast<uint64_t>(ImageStride(width, format)) * static_cast<uint64_t>(height);
  if (bytes > kMaxImageBytes) {
    throw EImageError(TImageMessage::ImageTooLarge, {std::to_string(width), std::to_string(height)});
  }
}

TRasterImage::TRasterImage(int width, int height, TPixelFormat format) {
  CheckImageSize(width, height, format);
  size_t stride = ImageStride(width, format);
  try {
    bits_.assign(stride * static_cast<size_t>(height), 0);
    if (IsIndexed(format)) palette_.assign(size_t{1} << BitsPerPixel(format), TRgb{});
  } catch (const std::bad_alloc&) {
    throw EImageError(TImageMessage::OutOfMemory, {std::to_string(width), std::to_string(height)});
  }
  width_ = width;
  height_ = height;
  format_ = format;
  stride_ = stride;
}

void TRasterImage::SetPalette(std::vector<TRgb> palette) {
  size_t limit = IsIndexed(format_) ? size_t{1} << BitsPerPixel(format_) : 0;
  if (palette.size() > limit) palette.resize(limit);
  palette_ = std::move(palette);
}

int TRasterImage::PixelIndex(int x, int y) const {
  const uint8_t* row = Row(y);
  switch (format_) {
    case TPixelFormat::Indexed1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case TPixelFormat::Indexed4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    case TPixelFormat::Indexed8: return row[x];
    case TPixelFormat::Rgb24: break;
  }
  return 0;
}

void TRasterImage::SetPixelIndex(int x, int y, int index) {
  uint8_t* row = Row(y);
  switch (format_) {
    case TPixelFormat::Indexed1: {
      uint8_t mask = static_cast<uint8_t>(0x80 >> (x & 7));
      row[x >> 3] = static_cast<uint8_t>((index & 1) ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask));
      break;
    }
    case TPixelFormat::Indexed4: {
      int shift = (x & 1) ? 0 : 4;
      row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & ~(0x0F << shift)) | ((index & 0x0F) << shift));
      break;
    }
    case TPixelFormat::Indexed8: row[x] = static_cast<uint8_t>(index); break;
    case TPixelFormat::Rgb24: break;
  }
}

TRgb TRasterImage::Pixel(int x, int y) const {
  if (format_ == TPixelFormat::Rgb24) {
    const uint8_t* p = Row(y) + static_cast<size_t>(x) * 3;
    return TRgb{p[0], p[1], p[2]};
  }
  size_t index = static_cast<size_t>(PixelIndex(x, y));
  return index < palette_.size() ? palette_[index] : TRgb{};
}

void TRasterImage::SetPixel(int x, int y, TRgb color) {
  uint8_t* p = Row(y) + static_cast<size_t>(x) * 3;
  p[0] = color.r;
  p[1] = color.g;
  p[2] = color.b;
}

void TRasterImage::Fill(TRgb color) { FillRect(0, 0, width_, height_, color); }

void TRasterImage::FillRect(int left, int top, int right, int bottom, TRgb color) {
  if (format_ != TPixelFormat::Rgb24) return;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  if (left >= right || top >= bottom) return;
  // The first row is filled pixel by pixel, the others copied from it.
  uint8_t* first = Row(top) + static_cast<size_t>(left) * 3;
  for (int x = left; x < right; ++x) {
    uint8_t* p = first + static_cast<size_t>(x - left) * 3;
    p[0] = color.r;
    p[1] = color.g;
    p[2] = color.b;
  }
  size_t bytes = static_cast<size_t>(right - left) * 3;
  for (int y = top + 1; y < bottom; ++y) std::memcpy(Row(y) + static_cast<size_t>(left) * 3, first, bytes);
}

void ExpandRowToRgb(const TRasterImage& image, int row, uint8_t* out) {
  if (image.Format() == TPixelFormat::Rgb24) {
    std::memcpy(out, image.Row(row), image.RowBytes());
    return;
  }
  // A palette of the full size for the depth, so that any stored index maps.
  TRgb palette[256] = {};
  std::copy(image.Palette().begin(), image.Palette().begin() + std::min<size_t>(image.Palette().size(), 256), palette);
  const uint8_t* in = image.Row(row);
  int width = image.Width();
  for (int x = 0; x < width; ++x) {
    int index;
    switch (image.Format()) {
      case TPixelFormat::Indexed1: index = (in[x >> 3] >> (7 - (x & 7))) & 1; break;
      case TPixelFormat::Indexed4: index = (in[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F; break;
      default: index = in[x]; break;
    }
    const TRgb& c = palette[index];
    out[0] = c.r;
    out[1] = c.g;
    out[2] = c.b;
    out += 3;
  }
}

TRasterImage ToRgb24(const TRasterImage& image) {
  if (image.IsEmpty()) return TRasterImage();
  if (image.Format() == TPixelFormat::Rgb24) return image;
  TRasterImage result(image.Width(), image.Height(), TPixelFormat::Rgb24);
  for (int y = 0; y < image.Height(); ++y) ExpandRowToRgb(image, y, result.Row(y));
  return result;
}

}  // namespace kerv
