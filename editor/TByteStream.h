#pragma once
// A seekable source of bytes, read in blocks (loading reads its input twice).

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace kerv {

class IByteStream {
 public:
  virtual ~IByteStream() = default;
  // Reads up to size bytes into buffer; 0 at the end. Throws on a read error.
  virtual size_t Read(char* buffer, size_t size) = 0;
  // Back to the first byte. Throws when the stream cannot be positioned.
  virtual void SeekToStart() = 0;
  // The next block of up to size bytes, read into buffer (of at least size
  // bytes) unless the stream can lend its own bytes; empty at the end.
  virtual std::string_view ReadBlock(char* buffer, size_t size) { return std::string_view(buffer, Read(buffer, size)); }
};

// A stream over bytes already in memory (the text a file was converted to).
class TMemoryStream : public IByteStream {
 public:
  explicit TMemoryStream(std::string_view bytes) : bytes_(bytes) {}
  // The stream reads the bytes in place: a temporary would be gone before the first read.
  explicit TMemoryStream(std::string&&) = delete;
  size_t Read(char* buffer, size_t size) override {
    size_t n = bytes_.size() - position_ < size ? bytes_.size() - position_ : size;
    if (n > 0) std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
  }
  void SeekToStart() override { position_ = 0; }
  // Lends its bytes instead of copying them.
  std::string_view ReadBlock(char*, size_t size) override {
    std::string_view block = bytes_.substr(position_, size);
    position_ += block.size();
    return block;
  }

 private:
  std::string_view bytes_;
  size_t position_ = 0;
};

}  // namespace kerv
