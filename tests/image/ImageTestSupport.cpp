#include "tests/image/ImageTestSupport.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace kerv::test {

uint32_t ReadBe32(std::string_view b, size_t i) {
  auto u = [&](size_t k) { return static_cast<uint32_t>(static_cast<uint8_t>(b[i + k])); };
  return (u(0) << 24) | (u(1) << 16) | (u(2) << 8) | u(3);
}

uint32_t ReadLe32(std::string_view b, size_t i) {
  auto u = [&](size_t k) { return static_cast<uint32_t>(static_cast<uint8_t>(b[i + k])); };
  return u(0) | (u(1) << 8) | (u(2) << 16) | (u(3) << 24);
}

uint16_t ReadLe16(std::string_view b, size_t i) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[i]) | (static_cast<uint8_t>(b[i + 1]) << 8));
}

std::vector<PngChunk> WalkPng(std::string_view file) {
  std::vector<PngChunk> chunks;
  if (file.substr(0, 8) != std::string_view("\x89PNG\r\n\x1A\n", 8)) {
    ADD_FAILURE() << "no PNG signature";
    return chunks;
  }
  size_t pos = 8;
  while (pos < file.size()) {
    if (file.size() - pos < 12) {
      ADD_FAILURE() << "a chunk header runs past the end at " << pos;
      return chunks;
    }
    uint32_t length = ReadBe32(file, pos);
    if (file.size() - pos - 12 < length) {
      ADD_FAILURE() << "a chunk runs past the end at " << pos;
      return chunks;
    }
    PngChunk chunk;
    chunk.type = std::string(file.substr(pos + 4, 4));
    chunk.data = std::string(file.substr(pos + 8, length));
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(file.data() + pos + 4), length + 4);
    chunk.crcValid = crc == ReadBe32(file, pos + 8 + length);
    chunks.push_back(std::move(chunk));
    pos += 12 + length;
  }
  return chunks;
}

std::string Inflate(std::string_view compressed) {
  z_stream stream{};
  EXPECT_EQ(inflateInit(&stream), Z_OK);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  stream.avail_in = static_cast<uInt>(compressed.size());
  std::string out;
  char buffer[65536];
  int result = Z_OK;
  while (result == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    result = inflate(&stream, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - stream.avail_out);
  }
  EXPECT_EQ(result, Z_STREAM_END) << "damaged deflate stream";
  EXPECT_EQ(stream.avail_in, 0u) << "bytes after the end of the deflate stream";
  inflateEnd(&stream);
  return out;
}

DecodedPng DecodePng(std::string_view file) {
  DecodedPng png;
  std::string idat;
  for (const PngChunk& chunk : WalkPng(file)) {
    if (chunk.type == "IHDR" && chunk.data.size() == 13) {
      png.width = static_cast<int>(ReadBe32(chunk.data, 0));
      png.height = static_cast<int>(ReadBe32(chunk.data, 4));
      png.bitDepth = static_cast<uint8_t>(chunk.data[8]);
      png.colourType = static_cast<uint8_t>(chunk.data[9]);
      png.compression = static_cast<uint8_t>(chunk.data[10]);
      png.filterMethod = static_cast<uint8_t>(chunk.data[11]);
      png.interlace = static_cast<uint8_t>(chunk.data[12]);
    } else if (chunk.type == "PLTE") {
      for (size_t i = 0; i + 2 < chunk.data.size(); i += 3) {
        png.palette.push_back(TRgb{static_cast<uint8_t>(chunk.data[i]), static_cast<uint8_t>(chunk.data[i + 1]),
                                   static_cast<uint8_t>(chunk.data[i + 2])});
      }
    } else if (chunk.type == "IDAT") {
      idat += chunk.data;
    }
  }
  std::string raw = Inflate(idat);
  int bits = png.colourType == 2 ? 24 : png.bitDepth;
  size_t rowBytes = (static_cast<size_t>(png.width) * bits + 7) / 8;
  if (raw.size() != (rowBytes + 1) * static_cast<size_t>(png.height)) {
    ADD_FAILURE() << "image data of " << raw.size() << " bytes for " << png.width << " x " << png.height;
    return png;
  }
  for (int y = 0; y < png.height; ++y) {
    const auto* row = reinterpret_cast<const uint8_t*>(raw.data()) + static_cast<size_t>(y) * (rowBytes + 1);
    png.filters.push_back(row[0]);
    ++row;
    for (int x = 0; x < png.width; ++x) {
      if (png.colourType == 2) {
        png.pixels.push_back(TRgb{row[3 * x], row[3 * x + 1], row[3 * x + 2]});
        continue;
      }
      int index = 0;
      if (bits == 8) index = row[x];
      if (bits == 4) index = (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
      if (bits == 1) index = (row[x / 8] >> (7 - x % 8)) & 1;
      if (static_cast<size_t>(index) >= png.palette.size()) {
        ADD_FAILURE() << "index " << index << " outside the palette";
        png.pixels.push_back(TRgb{});
      } else {
        png.pixels.push_back(png.palette[static_cast<size_t>(index)]);
      }
    }
  }
  return png;
}

DecodedBmp DecodeBmp(std::string_view file) {
  DecodedBmp bmp;
  if (file.size() < 54) {
    ADD_FAILURE() << "a BMP of " << file.size() << " bytes";
    return bmp;
  }
  bmp.magic = std::string(file.substr(0, 2));
  bmp.fileSize = ReadLe32(file, 2);
  bmp.pixelOffset = ReadLe32(file, 10);
  bmp.infoSize = ReadLe32(file, 14);
  bmp.width = static_cast<int32_t>(ReadLe32(file, 18));
  bmp.height = static_cast<int32_t>(ReadLe32(file, 22));
  bmp.planes = ReadLe16(file, 26);
  bmp.bitCount = ReadLe16(file, 28);
  bmp.compression = ReadLe32(file, 30);
  bmp.imageSize = ReadLe32(file, 34);
  bmp.colorsUsed = ReadLe32(file, 46);
  size_t paletteCount = bmp.bitCount <= 8 ? (bmp.colorsUsed ? bmp.colorsUsed : 1u << bmp.bitCount) : 0;
  for (size_t i = 0; i < paletteCount; ++i) {
    size_t at = 14 + bmp.infoSize + 4 * i;
    bmp.palette.push_back(TRgb{static_cast<uint8_t>(file[at + 2]), static_cast<uint8_t>(file[at + 1]),
                               static_cast<uint8_t>(file[at])});
  }
  size_t stride = (static_cast<size_t>(bmp.width) * bmp.bitCount + 31) / 32 * 4;
  if (bmp.height <= 0 || bmp.pixelOffset + stride * static_cast<size_t>(bmp.height) > file.size()) {
    ADD_FAILURE() << "BMP pixels run past the end";
    return bmp;
  }
  for (int y = 0; y < bmp.height; ++y) {
    // Bottom-up: the file's last row is the top one.
    const auto* row = reinterpret_cast<const uint8_t*>(file.data()) + bmp.pixelOffset +
                      static_cast<size_t>(bmp.height - 1 - y) * stride;
    for (int x = 0; x < bmp.width; ++x) {
      if (bmp.bitCount == 24) {
        bmp.pixels.push_back(TRgb{row[3 * x + 2], row[3 * x + 1], row[3 * x]});
        continue;
      }
      int index = 0;
      if (bmp.bitCount == 8) index = row[x];
      if (bmp.bitCount == 4) index = (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
      if (bmp.bitCount == 1) index = (row[x / 8] >> (7 - x % 8)) & 1;
      bmp.pixels.push_back(static_cast<size_t>(index) < bmp.palette.size() ? bmp.palette[static_cast<size_t>(index)]
                                                                          : TRgb{1, 2, 3});
    }
  }
  return bmp;
}

TRasterImage TextLikeImage(int width, int height) {
  TRasterImage image(width, height, TPixelFormat::Rgb24);
  image.Fill(TRgb{255, 255, 255});
  const int lineHeight = 24, glyphWidth = 16;
  uint32_t state = 7;
  for (int top = 4; top + lineHeight <= height; top += lineHeight + 6) {
    for (int left = 8; left + glyphWidth <= width - 8; left += glyphWidth + 2) {
      state = state * 1103515245u + 12345u;
      if ((state >> 16) % 9 == 0) continue;  // a blank between words
      // Two strokes per glyph, each with a one-pixel grey rim.
      int x = left + static_cast<int>((state >> 8) % 8);
      int y = top + static_cast<int>((state >> 12) % 12);
      image.FillRect(x - 1, top + 2, x + 3, top + lineHeight - 2, TRgb{170, 170, 170});
      image.FillRect(x, top + 3, x + 2, top + lineHeight - 3, TRgb{0, 0, 0});
      image.FillRect(left + 1, y - 1, left + glyphWidth - 1, y + 3, TRgb{85, 85, 85});
      image.FillRect(left + 2, y, left + glyphWidth - 2, y + 2, TRgb{0, 0, 0});
    }
  }
  return image;
}

TRasterImage NoiseImage(int width, int height, uint32_t seed) {
  TRasterImage image(width, height, TPixelFormat::Rgb24);
  uint32_t state = seed;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      state = state * 1664525u + 1013904223u;
      image.SetPixel(x, y, TRgb{static_cast<uint8_t>(state >> 24), static_cast<uint8_t>(state >> 16),
                                static_cast<uint8_t>(state >> 8)});
    }
  }
  return image;
}

bool SamePixels(const TRasterImage& a, const TRasterImage& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (!(a.Pixel(x, y) == b.Pixel(x, y))) return false;
    }
  }
  return true;
}

}  // namespace kerv::test
