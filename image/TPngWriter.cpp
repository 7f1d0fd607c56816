#include "image/TPngWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

#include "image/EImageError.h"

namespace kerv {
namespace {

void Put32(std::string& out, uint32_t value) {
  out += static_cast<char>(value >> 24);
  out += static_cast<char>((value >> 16) & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
  out += static_cast<char>(value & 0xFF);
}

// Appends one chunk: length, type, data, CRC of type and data.
void PutChunk(std::string& out, const char* type, const void* data, size_t size) {
  Put32(out, static_cast<uint32_t>(size));
  size_t crcStart = out.size();
  out.append(type, 4);
  out.append(static_cast<const char*>(data), size);
  uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(out.data() + crcStart), static_cast<uInt>(size + 4));
  Put32(out, static_cast<uint32_t>(crc));
}

void PutChunk(std::string& out, const char* type, const std::string& data) { PutChunk(out, type, data.data(), data.size()); }

std::string Be32(uint32_t value) {
  std::string out;
  Put32(out, value);
  return out;
}

std::string TimeData(std::chrono::system_clock::time_point now) {
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  int year = utc.tm_year + 1900;
  std::string data;
  data += static_cast<char>((year >> 8) & 0xFF);
  data += static_cast<char>(year & 0xFF);
  data += static_cast<char>(utc.tm_mon + 1);
  data += static_cast<char>(utc.tm_mday);
  data += static_cast<char>(utc.tm_hour);
  data += static_cast<char>(utc.tm_min);
  // tIME allows 60 for a leap second; gmtime never gives more.
  data += static_cast<char>(utc.tm_sec);
  return data;
}

// The highest palette index any pixel uses.
size_t HighestIndex(const TRasterImage& image) {
  size_t limit = size_t{1} << BitsPerPixel(image.Format());
  if (image.Palette().size() >= limit) return image.Palette().size() - 1;
  int highest = 0;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) highest = std::max(highest, image.PixelIndex(x, y));
  }
  return static_cast<size_t>(highest);
}

}  // namespace

// One deflate stream, reset for every image, and the buffer of the IDAT
// chunk being filled.
struct TPngWriter::Compressor {
  z_stream stream{};
  bool ready = false;
  std::vector<uint8_t> idat = std::vector<uint8_t>(kMaxIdatBytes);
  std::vector<uint8_t> line;

  Compressor() {
    if (deflateInit(&stream, Z_DEFAULT_COMPRESSION) == Z_OK) ready = true;
  }
  ~Compressor() {
    if (ready) deflateEnd(&stream);
  }

  [[noreturn]] void Fail(const char* what) {
    throw EImageError(TImageMessage::PngFailed, {stream.msg != nullptr ? std::string(stream.msg) : std::string(what)});
  }

  void Start() {
    if (!ready) Fail("deflateInit");
    if (deflateReset(&stream) != Z_OK) Fail("deflateReset");
    stream.next_out = idat.data();
    stream.avail_out = static_cast<uInt>(idat.size());
  }

  void EmitIdat(std::string& out) {
    size_t used = idat.size() - stream.avail_out;
    if (used > 0) PutChunk(out, "IDAT", idat.data(), used);
    stream.next_out = idat.data();
    stream.avail_out = static_cast<uInt>(idat.size());
  }

  void Add(std::string& out, const uint8_t* data, size_t size) {
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    while (stream.avail_in > 0) {
      if (stream.avail_out == 0) EmitIdat(out);
      int result = deflate(&stream, Z_NO_FLUSH);
      if (result != Z_OK && result != Z_BUF_ERROR) Fail("deflate");
    }
  }

  void Finish(std::string& out) {
    for (;;) {
      if (stream.avail_out == 0) EmitIdat(out);
      int result = deflate(&stream, Z_FINISH);
      if (result == Z_STREAM_END) break;
      if (result != Z_OK && result != Z_BUF_ERROR) Fail("deflate");
    }
    EmitIdat(out);
  }
};

TPngWriter::TPngWriter(TImageClock clock) : clock_(std::move(clock)), compressor_(std::make_unique<Compressor>()) {}

TPngWriter::~TPngWriter() = default;

std::string TPngWriter::SoftwareText() { return std::string("KervEditor ") + KERV_IMAGE_VERSION; }

std::string TPngWriter::PrivateChunkData() {
  // The writer's name and version, and the layout of this chunk (1).
  return std::string("Kerv") + static_cast<char>(KERV_IMAGE_VERSION_MAJOR) + static_cast<char>(KERV_IMAGE_VERSION_MINOR) +
         static_cast<char>(KERV_IMAGE_VERSION_PATCH) + static_cast<char>(1);
}

std::string TPngWriter::Encode(const TRasterImage& image) {
  CheckImageSize(image.Width(), image.Height(), image.Format());
  bool indexed = IsIndexed(image.Format());
  std::string out;
  out.reserve(1024 + image.ByteSize() / 8);
  out.append("\x89PNG\r\n\x1A\n", 8);

  std::string header = Be32(static_cast<uint32_t>(image.Width())) + Be32(static_cast<uint32_t>(image.Height()));
  header += static_cast<char>(indexed ? BitsPerPixel(image.Format()) : 8);
  header += static_cast<char>(indexed ? 3 : 2);
  header.append(3, '\0');  // compression 0, filter method 0, no interlace
  PutChunk(out, "IHDR", header);
  PutChunk(out, "tIME", TimeData(clock_ ? clock_() : std::chrono::system_clock::now()));
  PutChunk(out, "tEXt", std::string("Software") + '\0' + SoftwareText());
  PutChunk(out, kPrivateChunkType, PrivateChunkData());
  PutChunk(out, "gAMA", Be32(kGamma));
  if (indexed) {
    std::string palette;
    // PLTE may not be empty, and every index used must have an entry.
    size_t entries = std::max(image.Palette().size(), HighestIndex(image) + 1);
    for (size_t i = 0; i < entries; ++i) {
      TRgb c = i < image.Palette().size() ? image.Palette()[i] : TRgb{};
      palette += static_cast<char>(c.r);
      palette += static_cast<char>(c.g);
      palette += static_cast<char>(c.b);
    }
    PutChunk(out, "PLTE", palette);
  }

  Compressor& z = *compressor_;
  z.Start();
  size_t rowBytes = image.RowBytes();
  z.line.resize(rowBytes + 1);
  z.line[0] = 0;  // filter type None
  for (int y = 0; y < image.Height(); ++y) {
    std::memcpy(z.line.data() + 1, image.Row(y), rowBytes);
    z.Add(out, z.line.data(), z.line.size());
  }
  z.Finish(out);
  PutChunk(out, "IEND", nullptr, 0);
  return out;
}

}  // namespace kerv
