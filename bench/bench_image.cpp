// Image writing: a 1920 × 1080 text-like image written as PNG, JPEG and
// BMP of each depth (reduction included, as a save does it), the three
// reductions on their own and on a picture of many colours, a 2000 × 2000
// page to PNG, and the writer's share of a continuous conversion: 1000
// one-line images to PNG with one reused writer.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "image/TColorReducer.h"
#include "image/TImageFileWriter.h"
#include "image/TJpegCodec.h"
#include "platform/fake/FakeFileSystem.h"

namespace kerv {
namespace {

// Glyph-like strokes with grey rims on white, in lines, as rendered text looks.
TRasterImage TextLike(int width, int height, int lineHeight = 24) {
  TRasterImage image(width, height, TPixelFormat::Rgb24);
  image.Fill(TRgb{255, 255, 255});
  const int glyphWidth = lineHeight * 2 / 3;
  uint32_t state = 7;
  for (int top = 4; top + lineHeight <= height; top += lineHeight + lineHeight / 4) {
    for (int left = 8; left + glyphWidth <= width - 8; left += glyphWidth + 2) {
      state = state * 1103515245u + 12345u;
      if ((state >> 16) % 9 == 0) continue;
      int x = left + static_cast<int>((state >> 8) % (glyphWidth / 2));
      int y = top + static_cast<int>((state >> 12) % (lineHeight / 2));
      image.FillRect(x - 1, top + 2, x + 3, top + lineHeight - 2, TRgb{170, 170, 170});
      image.FillRect(x, top + 3, x + 2, top + lineHeight - 3, TRgb{0, 0, 0});
      image.FillRect(left + 1, y - 1, left + glyphWidth - 1, y + 3, TRgb{85, 85, 85});
      image.FillRect(left + 2, y, left + glyphWidth - 2, y + 2, TRgb{0, 0, 0});
    }
  }
  return image;
}

// A photograph's worth of colours: smooth gradients with noise.
TRasterImage ManyColours(int width, int height) {
  TRasterImage image(width, height, TPixelFormat::Rgb24);
  uint32_t state = 1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      state = state * 1664525u + 1013904223u;
      int noise = static_cast<int>(state >> 28);
      image.SetPixel(x, y, TRgb{static_cast<uint8_t>((x * 255 / width + noise) & 0xFF),
                                static_cast<uint8_t>((y * 255 / height + noise) & 0xFF),
                                static_cast<uint8_t>(((x + y) * 127 / (width + height) + noise) & 0xFF)});
    }
  }
  return image;
}

const TRasterImage& FullHd() {
  static const TRasterImage image = TextLike(1920, 1080);
  return image;
}

std::chrono::system_clock::time_point FixedTime() { return std::chrono::system_clock::time_point{}; }

void Report(benchmark::State& state, const TRasterImage& image, size_t outBytes) {
  state.counters["Mpixel/s"] = benchmark::Counter(static_cast<double>(image.Width()) * image.Height() / 1e6,
                                                  benchmark::Counter::kIsIterationInvariantRate);
  state.counters["file kB"] = static_cast<double>(outBytes) / 1e3;
}

void Write(benchmark::State& state, const TRasterImage& image, TImageEncoding encoding) {
  FakeFileSystem fs;
  TImageFileWriter writer(fs, FixedTime);
  size_t bytes = 0;
  for (auto _ : state) {
    std::string file = writer.Encode(image, encoding, kDefaultJpegQuality);
    bytes = file.size();
    benchmark::DoNotOptimize(file.data());
  }
  Report(state, image, bytes);
}

void BM_Png_1920x1080(benchmark::State& state) { Write(state, FullHd(), TImageEncoding::Png); }
void BM_Jpeg_1920x1080(benchmark::State& state) { Write(state, FullHd(), TImageEncoding::Jpeg); }
void BM_Bmp24_1920x1080(benchmark::State& state) { Write(state, FullHd(), TImageEncoding::Bmp24); }
void BM_Bmp8_1920x1080(benchmark::State& state) { Write(state, FullHd(), TImageEncoding::Bmp8); }
void BM_Bmp4_1920x1080(benchmark::State& state) { Write(state, FullHd(), TImageEncoding::Bmp4); }
void BM_Bmp1_1920x1080(benchmark::State& state) { Write(state, FullHd(), TImageEncoding::Bmp1); }

void Reduce(benchmark::State& state, const TRasterImage& image, TPixelFormat format) {
  for (auto _ : state) {
    TRasterImage reduced = ReduceToFormat(image, format);
    benchmark::DoNotOptimize(reduced.Bits());
  }
  Report(state, image, 0);
}

void BM_Reduce16_1920x1080(benchmark::State& state) { Reduce(state, FullHd(), TPixelFormat::Indexed4); }
void BM_Reduce256_1920x1080(benchmark::State& state) { Reduce(state, FullHd(), TPixelFormat::Indexed8); }
void BM_ReduceMono_1920x1080(benchmark::State& state) { Reduce(state, FullHd(), TPixelFormat::Indexed1); }
void BM_Reduce16_ManyColours(benchmark::State& state) {
  static const TRasterImage image = ManyColours(1920, 1080);
  Reduce(state, image, TPixelFormat::Indexed4);
}
void BM_Reduce256_ManyColours(benchmark::State& state) {
  static const TRasterImage image = ManyColours(1920, 1080);
  Reduce(state, image, TPixelFormat::Indexed8);
}

void BM_Png_2000x2000Page(benchmark::State& state) {
  static const TRasterImage image = TextLike(2000, 2000, 16);
  Write(state, image, TImageEncoding::Png);
}

// The writer's part of converting 1000 short lines: each line its own
// small image, one writer and its compressor reused throughout.
void BM_Png_1000Lines(benchmark::State& state) {
  TRasterImage line = TextLike(480, 40, 28);
  TPngWriter writer(FixedTime);
  size_t bytes = 0;
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      std::string file = writer.Encode(line);
      bytes = file.size();
      benchmark::DoNotOptimize(file.data());
    }
  }
  state.counters["images/s"] = benchmark::Counter(1000, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["file kB"] = static_cast<double>(bytes) / 1e3;
}

BENCHMARK(BM_Png_1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Jpeg_1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp24_1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp8_1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp4_1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp1_1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reduce16_1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reduce256_1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReduceMono_1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reduce16_ManyColours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reduce256_ManyColours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Png_2000x2000Page)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Png_1000Lines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kerv

BENCHMARK_MAIN();
