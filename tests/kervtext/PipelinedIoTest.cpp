#include "kervtext/PipelinedIo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace kerv::cli {
namespace {

// The blocks come in order, whole, and a failure on either thread reaches
// the caller instead of hanging or being lost.

TEST(PipelinedIoTest, ReadAheadHandsOverEveryByteInOrder) {
  std::string source;
  for (int i = 0; i < 100000; ++i) source += static_cast<char>('a' + i % 26);
  size_t offset = 0;
  ReadAhead reader(
      [&](char* data, size_t size) {
        size_t n = std::min<size_t>({size, 777, source.size() - offset});
        std::memcpy(data, source.data() + offset, n);
        offset += n;
        return n;
      },
      4096);
  std::string got;
  for (std::string_view block; !(block = reader.Next()).empty();) got += block;
  EXPECT_EQ(got, source);
  EXPECT_TRUE(reader.Next().empty());
}

TEST(PipelinedIoTest, AReadErrorIsThrownAfterTheBlocksBeforeIt) {
  int calls = 0;
  ReadAhead reader(
      [&](char* data, size_t) -> size_t {
        if (++calls == 3) throw std::runtime_error("disk gone");
        data[0] = 'x';
        return 1;
      },
      16);
  EXPECT_EQ(reader.Next(), "x");
  EXPECT_EQ(reader.Next(), "x");
  EXPECT_THROW(reader.Next(), std::runtime_error);
}

TEST(PipelinedIoTest, ReadAheadStopsWhenLeftEarly) {
  // The reader would go on for ever; leaving the scope must still end its thread.
  ReadAhead reader([](char* data, size_t size) { std::memset(data, 'y', size); return size; }, 64);
  EXPECT_EQ(reader.Next().size(), 64u);
}

TEST(PipelinedIoTest, WriteBehindWritesEverythingInOrder) {
  std::string written;
  std::string expected;
  {
    WriteBehind writer([&](std::string_view data) { written += data; }, 100);
    for (int i = 0; i < 5000; ++i) {
      // Pieces smaller than a block, and some larger.
      std::string piece(i % 97 == 0 ? 250 : i % 7, static_cast<char>('0' + i % 10));
      expected += piece;
      writer.Put(piece);
    }
    writer.Finish();
  }
  EXPECT_EQ(written, expected);
}

TEST(PipelinedIoTest, AWriteErrorReachesTheWriterWithoutHanging) {
  int blocks = 0;
  WriteBehind writer(
      [&](std::string_view) {
        if (++blocks == 2) throw std::runtime_error("disk full");
      },
      10);
  bool thrown = false;
  try {
    for (int i = 0; i < 100000; ++i) writer.Put("0123456789");
    writer.Finish();
  } catch (const std::runtime_error& error) {
    thrown = true;
    EXPECT_STREQ(error.what(), "disk full");
  }
  EXPECT_TRUE(thrown);
}

}  // namespace
}  // namespace kerv::cli
