#include "image/TColorReducer.h"

#include <algorithm>
#include <cstdint>

namespace kerv {
namespace {

constexpr uint32_t Key(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16); }

int Distance(TRgb a, int r, int g, int b) {
  int dr = a.r - r, dg = a.g - g, db = a.b - b;
  return dr * dr + dg * dg + db * db;
}

// Remembers the index found for recent colours: a text image holds few
// colours in long runs, so the palette search runs for a handful of pixels.
class TNearestCache {
 public:
  TNearestCache() : slots_(kSlots) {}
  template <class Compute>
  int Lookup(uint32_t key, Compute compute) {
    if (key == lastKey_) return lastIndex_;
    Slot& slot = slots_[(key * 2654435761u) >> (32 - kBits)];
    if (slot.key != key) {
      slot.key = key;
      slot.index = compute();
    }
    lastKey_ = key;
    lastIndex_ = slot.index;
    return slot.index;
  }

 private:
  static constexpr int kBits = 12;
  static constexpr size_t kSlots = size_t{1} << kBits;
  struct Slot {
    uint32_t key = 0xFFFFFFFFu;  // no colour has this key
    int index = 0;
  };
  std::vector<Slot> slots_;
  uint32_t lastKey_ = 0xFFFFFFFFu;
  int lastIndex_ = 0;
};

// Walks the image row by row in red, green, blue bytes and stores the index
// map(row pointer to one pixel) in the packed row of the result.
template <class Map>
TRasterImage Reduce(const TRasterImage& image, TPixelFormat format, std::vector<TRgb> palette, Map map) {
  if (image.IsEmpty()) return TRasterImage();
  int width = image.Width();
  TRasterImage result(width, image.Height(), format);
  result.SetPalette(std::move(palette));
  std::vector<uint8_t> scratch(image.Format() == TPixelFormat::Rgb24 ? 0 : static_cast<size_t>(width) * 3);
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* in = image.Row(y);
    if (image.Format() != TPixelFormat::Rgb24) {
      ExpandRowToRgb(image, y, scratch.data());
      in = scratch.data();
    }
    uint8_t* out = result.Row(y);
    switch (format) {
      case TPixelFormat::Indexed8:
        for (int x = 0; x < width; ++x) out[x] = static_cast<uint8_t>(map(in + 3 * x));
        break;
      case TPixelFormat::Indexed4:
        for (int x = 0; x < width; x += 2) {
          int high = map(in + 3 * x);
          int low = x + 1 < width ? map(in + 3 * (x + 1)) : 0;
          out[x >> 1] = static_cast<uint8_t>((high << 4) | low);
        }
        break;
      case TPixelFormat::Indexed1:
        for (int x = 0; x < width; x += 8) {
          int byte = 0;
          for (int bit = 0; bit < 8 && x + bit < width; ++bit) byte |= map(in + 3 * (x + bit)) << (7 - bit);
          out[x >> 3] = static_cast<uint8_t>(byte);
        }
        break;
      case TPixelFormat::Rgb24: break;
    }
  }
  return result;
}

// The distinct colours of an image when there are at most 256 of them.
class TColorSet {
 public:
  static constexpr size_t kMaxColors = 256;

  // False once a 257th colour turns up.
  bool Add(uint32_t key) {
    size_t slot = Probe(key);
    if (keys_[slot] == key) return true;
    if (colors_.size() == kMaxColors) return false;
    keys_[slot] = key;
    colors_.push_back(key);
    return true;
  }
  // Sorts the colours and numbers them in that order.
  void Number() {
    std::sort(colors_.begin(), colors_.end());
    for (size_t i = 0; i < colors_.size(); ++i) indices_[Probe(colors_[i])] = static_cast<uint8_t>(i);
  }
  int IndexOf(uint32_t key) const { return indices_[Probe(key)]; }
  const std::vector<uint32_t>& Colors() const { return colors_; }

 private:
  // Four times as many slots as colours keeps the probe chains short.
  static constexpr size_t kSlots = 1024;
  static constexpr uint32_t kFree = 0xFFFFFFFFu;
  size_t Probe(uint32_t key) const {
    size_t slot = (key * 2654435761u) >> 22;
    while (keys_[slot] != kFree && keys_[slot] != key) slot = (slot + 1) & (kSlots - 1);
    return slot;
  }
  std::vector<uint32_t> keys_ = std::vector<uint32_t>(kSlots, kFree);
  std::vector<uint8_t> indices_ = std::vector<uint8_t>(kSlots, 0);
  std::vector<uint32_t> colors_;
};

bool CollectColors(const TRasterImage& image, TColorSet& set) {
  std::vector<uint8_t> scratch(static_cast<size_t>(image.Width()) * 3);
  uint32_t last = 0xFFFFFFFFu;
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* in = image.Row(y);
    if (image.Format() != TPixelFormat::Rgb24) {
      ExpandRowToRgb(image, y, scratch.data());
      in = scratch.data();
    }
    for (int x = 0; x < image.Width(); ++x) {
      uint32_t key = Key(in + 3 * x);
      if (key == last) continue;
      last = key;
      if (!set.Add(key)) return false;
    }
  }
  return true;
}

constexpr int kCubeLevels = 6;
constexpr int kCubeStep = 51;  // 0, 51, ..., 255
constexpr int kCubeFirst = 16;
constexpr int kGreyFirst = kCubeFirst + kCubeLevels * kCubeLevels * kCubeLevels;  // 232
constexpr int kGreyCount = 24;
constexpr int GreyLevel(int i) { return 8 + 10 * i; }  // 8, 18, ..., 238

int NearestFixed256(const std::vector<TRgb>& palette, int r, int g, int b) {
  // The cube's nearest entry is the nearest level in each channel; the
  // nearest grey is the one nearest the channels' mean. Only these, their
  // neighbours and the 16 base colours can be nearest overall.
  auto level = [](int v) { return (v + kCubeStep / 2) / kCubeStep; };
  int best = kCubeFirst + level(r) * 36 + level(g) * 6 + level(b);
  int bestDistance = Distance(palette[static_cast<size_t>(best)], r, g, b);
  auto consider = [&](int index) {
    int d = Distance(palette[static_cast<size_t>(index)], r, g, b);
    if (d < bestDistance || (d == bestDistance && index < best)) {
      best = index;
      bestDistance = d;
    }
  };
  for (int i = 0; i < 16; ++i) consider(i);
  int grey = std::clamp(((r + g + b) / 3 - 8 + 5) / 10, 0, kGreyCount - 1);
  for (int i = std::max(grey - 1, 0); i <= std::min(grey + 1, kGreyCount - 1); ++i) consider(kGreyFirst + i);
  return best;
}

}  // namespace

const std::array<TRgb, 16>& Vga16Palette() {
  static const std::array<TRgb, 16> palette = {{
      {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
      {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
      {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
  }};
  return palette;
}

const std::vector<TRgb>& Fixed256Palette() {
  static const std::vector<TRgb> palette = [] {
    std::vector<TRgb> result(Vga16Palette().begin(), Vga16Palette().end());
    for (int r = 0; r < kCubeLevels; ++r) {
      for (int g = 0; g < kCubeLevels; ++g) {
        for (int b = 0; b < kCubeLevels; ++b) {
          result.push_back(TRgb{static_cast<uint8_t>(r * kCubeStep), static_cast<uint8_t>(g * kCubeStep),
                                static_cast<uint8_t>(b * kCubeStep)});
        }
      }
    }
    for (int i = 0; i < kGreyCount; ++i) {
      auto v = static_cast<uint8_t>(GreyLevel(i));
      result.push_back(TRgb{v, v, v});
    }
    return result;
  }();
  return palette;
}

int NearestPaletteIndex(const TRgb* palette, int count, TRgb color) {
  int best = 0;
  int bestDistance = INT32_MAX;
  for (int i = 0; i < count; ++i) {
    int d = Distance(palette[i], color.r, color.g, color.b);
    if (d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

TRasterImage ReduceTo16Colors(const TRasterImage& image) {
  const auto& palette = Vga16Palette();
  TNearestCache cache;
  return Reduce(image, TPixelFormat::Indexed4, std::vector<TRgb>(palette.begin(), palette.end()), [&](const uint8_t* p) {
    return cache.Lookup(Key(p), [&] { return NearestPaletteIndex(palette.data(), 16, TRgb{p[0], p[1], p[2]}); });
  });
}

TRasterImage ReduceTo256Colors(const TRasterImage& image) {
  if (image.IsEmpty()) return TRasterImage();
  TColorSet set;
  if (CollectColors(image, set)) {
    set.Number();
    std::vector<TRgb> palette;
    for (uint32_t key : set.Colors()) palette.push_back(TRgb::FromColor(key));
    return Reduce(image, TPixelFormat::Indexed8, std::move(palette), [&](const uint8_t* p) { return set.IndexOf(Key(p)); });
  }
  const std::vector<TRgb>& palette = Fixed256Palette();
  TNearestCache cache;
  return Reduce(image, TPixelFormat::Indexed8, palette, [&](const uint8_t* p) {
    return cache.Lookup(Key(p), [&] { return NearestFixed256(palette, p[0], p[1], p[2]); });
  });
}

TRasterImage ReduceToMonochrome(const TRasterImage& image) {
  return Reduce(image, TPixelFormat::Indexed1, {TRgb{0, 0, 0}, TRgb{255, 255, 255}}, [](const uint8_t* p) {
    return 299 * p[0] + 587 * p[1] + 114 * p[2] >= 128 * 1000 ? 1 : 0;
  });
}

TRasterImage ReduceToFormat(const TRasterImage& image, TPixelFormat format) {
  switch (format) {
    case TPixelFormat::Indexed1: return ReduceToMonochrome(image);
    case TPixelFormat::Indexed4: return ReduceTo16Colors(image);
    case TPixelFormat::Indexed8: return ReduceTo256Colors(image);
    case TPixelFormat::Rgb24: break;
  }
  return ToRgb24(image);
}

}  // namespace kerv
