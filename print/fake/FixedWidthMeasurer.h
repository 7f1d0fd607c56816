#pragma once
// A measurer for tests and benchmarks: every byte is charWidth dots wide (a
// double-byte character two), rows are lineHeight dots high. It counts its
// width measurements.

#include <cstdint>
#include <string_view>

#include "print/IPrintMeasurer.h"

namespace kerv {

class FixedWidthMeasurer : public IPrintMeasurer {
 public:
  int64_t charWidth = 10;
  int64_t lineHeight = 20;
  bool italic = false;
  TPageFont selected;
  int64_t widthCalls = 0;

  void SelectFont(const TPageFont& font) override { selected = font; }
  TPrintFontMetrics Metrics() override { return {lineHeight, charWidth, italic}; }
  int64_t TextWidth(std::string_view sjis) override {
    ++widthCalls;
    return static_cast<int64_t>(sjis.size()) * charWidth;
  }
};

}  // namespace kerv
