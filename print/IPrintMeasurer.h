#pragma once
// How the layout measures text: the window half measures in the page font
// on the printer's surface, tests and benchmarks with a fixed width per byte.
// All lengths are printer dots.

#include <cstdint>
#include <string>
#include <string_view>

namespace kerv {

// The printing font as the dialog and the settings hold it.
struct TPrintFont {
  std::string name;  // passed through to the window half untouched
  int size = 10;     // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int charSet = 1;
  bool operator==(const TPrintFont&) const = default;
};

// The font a page is drawn with: the printing font with its point size made
// for the page surface, and the em height that size resolves to in dots.
struct TPageFont {
  TPrintFont font;     // font.size is the page size in points
  int64_t emDots = 0;  // character height; a replay sets it as the pixel size
  bool operator==(const TPageFont&) const = default;
};

struct TPrintFontMetrics {
  int64_t lineHeight = 0;        // height plus external leading
  int64_t averageCharWidth = 0;
  bool italic = false;           // of the font actually chosen
};

class IPrintMeasurer {
 public:
  virtual ~IPrintMeasurer() = default;
  // Every later call measures in this font.
  virtual void SelectFont(const TPageFont& font) = 0;
  virtual TPrintFontMetrics Metrics() = 0;
  // Width of a Shift_JIS byte string drawn as one line ("&" as itself). An
  // implementation whose platform measures in 32 bits adds up pieces rather
  // than overflow; a negative answer is taken as an overflow and the text is
  // measured again in halves.
  virtual int64_t TextWidth(std::string_view sjis) = 0;
};

}  // namespace kerv
