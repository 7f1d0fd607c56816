#pragma once
// PNG files on zlib. The chunks, in this order: IHDR (24-bit images as bit
// depth 8 colour type 2; indexed images as colour type 3 at their own bit
// depth), tIME (the clock's time in UTC), tEXt "Software", our private
// chunk, gAMA 45455, PLTE (indexed images), the IDAT chunks of at most
// 32768 bytes (deflated at zlib's default level, every scanline with filter
// type 0), IEND.

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "image/TRasterImage.h"

namespace kerv {

// The current time; tests pass a fixed one.
using TImageClock = std::function<std::chrono::system_clock::time_point()>;

class TPngWriter {
 public:
  static constexpr size_t kMaxIdatBytes = 32768;
  static constexpr uint32_t kGamma = 45455;  // 1/2.2 × 100000
  // Ancillary, private, reserved bit clear, safe to copy.
  static constexpr const char* kPrivateChunkType = "kvEr";
  static constexpr size_t kPrivateChunkBytes = 8;

  // An empty clock reads the system's.
  explicit TPngWriter(TImageClock clock = {});
  ~TPngWriter();
  TPngWriter(const TPngWriter&) = delete;
  TPngWriter& operator=(const TPngWriter&) = delete;

  // The whole file. The compressor and its buffers stay for the next image,
  // so a run of many small images does not set them up again each time.
  // Throws EImageError (empty or oversized image, a compressor failure).
  std::string Encode(const TRasterImage& image);

  // The "Software" text and the private chunk's eight bytes.
  static std::string SoftwareText();
  static std::string PrivateChunkData();

 private:
  struct Compressor;
  TImageClock clock_;
  std::unique_ptr<Compressor> compressor_;
};

}  // namespace kerv
