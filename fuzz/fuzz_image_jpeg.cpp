// Any bytes as a JPEG background picture: decoding either gives a 24-bit
// image or fails with a message; libjpeg never ends the process and no
// picture beyond what we hold is allocated.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "image/EImageError.h"
#include "image/TJpegCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kerv;
  try {
    TRasterImage image = DecodeJpeg(std::string_view(reinterpret_cast<const char*>(data), size));
    if (image.IsEmpty() || image.Format() != TPixelFormat::Rgb24) {
      std::fprintf(stderr, "fuzz_image_jpeg: an empty or indexed picture\n");
      std::abort();
    }
  } catch (const EImageError&) {
    // A damaged or oversized picture: its message reaches the user.
  }
  return 0;
}
