#pragma once
// The converter's layout arithmetic, free of any drawing: the image size of
// the three size modes, the margin bands, the tiles of a background picture,
// the text box and the text's vertical place, the text as drawn, the lines of
// a continuous conversion and the limits of the line-range fields. The
// renderer and the dialog call these; everything here is in pixels, lines
// are 1-based unless named otherwise.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "image/TVuvESettings.h"

namespace kerv {

struct TImageSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const TImageSize&, const TImageSize&) = default;
};

struct TPixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TPixelPoint&, const TPixelPoint&) = default;
};

// Right and bottom are exclusive.
struct TPixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  friend bool operator==(const TPixelRect&, const TPixelRect&) = default;
};

// What "余白分を拡張(&E)" adds to a fitted size: (left + right, top + bottom)
// when it is on, else (0, 0).
TImageSize MarginExtension(const TVuvESettings& settings);
// The image size (UpdateImageSize): the width and height fields for
// "任意指定(&R)", the measured text or the picture plus MarginExtension for
// the fitted modes. The result may be 0 × 0 (an empty text, no picture
// loaded); CheckImageSize refuses it before an image is made.
TImageSize ImageSizeFor(const TVuvESettings& settings, TImageSize textSize, TImageSize pictureSize);

// The bands "余白を塗りつぶす(&D)" fills, in the order they are filled: top
// (0, 0)-(W, T), bottom (0, H - B)-(W, H), left (0, 0)-(L, H), right
// (W - R, 0)-(W, H), each only when its margin is above 0. Empty when the
// margins are not filled.
std::vector<TPixelRect> MarginFillBands(TImageSize image, const TVuvESettings& settings);

// The copies of a background picture: with tiling, column by column from the
// left and within a column from the top, at (column × picture width,
// row × picture height) until the image is covered; without, one copy at
// (0, 0). A grid, not a list: a tiny picture on a huge image has millions.
class TTileGrid {
 public:
  TTileGrid(TImageSize image, TImageSize picture, bool tile);
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  int64_t Count() const { return int64_t{columns_} * rows_; }
  // index 0 .. Count() - 1.
  TPixelPoint At(int64_t index) const;

 private:
  int columns_ = 0;
  int rows_ = 0;
  TImageSize picture_;
};

// The box the text is drawn and clipped in: (L, T)-(W - R, H - B); empty
// (never inverted) when the margins meet.
TPixelRect TextBox(TImageSize image, const TVuvESettings& settings);
// The top of the text in the box: centred when vertical centring is on and
// the text is drawn as a single line, else the box's top.
int TextTop(const TPixelRect& box, int textHeight, bool singleLine, const TVuvESettings& settings);
// The left end of one line of the text in the box for the alignment.
int LineLeft(const TPixelRect& box, int lineWidth, TVuvEAlign align);
// A font's pixel height: points × dots per inch / 72, rounded.
int FontPixelHeight(int points, int dotsPerInch);

// The text of a single conversion: trailing blanks and line breaks removed
// (every byte up to 0x20; a trail byte of Shift_JIS is never below 0x40).
// It is drawn as a single line when what is left has no line break.
struct TPreparedText {
  std::string text;
  bool singleLine = true;
};
TPreparedText PrepareText(std::string_view text);

// One image of a continuous conversion: the image number (0-based, in the
// order of the lines) and the line (1-based) with its text.
struct TNumberedLine {
  int number = 0;
  int line = 0;
  std::string text;
};
// The non-empty lines from firstLine to lastLine (1-based, both included,
// brought into the text's lines), numbered from 0. Lines end at CR LF, LF
// or CR.
std::vector<TNumberedLine> CollectLines(std::string_view text, int firstLine, int lastLine);
// The text "テキストにあわせる(&T)" measures: with continuous conversion on,
// the first non-empty line of the range; otherwise the whole text, or the
// selection when "選択部分のみ(&S)" is chosen, prepared as for drawing.
std::string TextToMeasure(const TVuvESettings& settings, std::string_view wholeText, std::string_view selection);
// Before a continuous conversion asks its question: no output folder
// (NoOutputFolder), no non-empty line in the range (NoText), a stem with a
// format directive (StemDirective) throw EImageError, in that order.
void CheckContinuousConversion(const TVuvESettings& settings, std::string_view wholeText);

// The limits of the line-range fields for a text of lineCount lines: both
// run from 1 to min(lineCount, 10000); the last line's lower limit follows
// the first line (never above 1000), the first line's upper limit the last
// line. first and last are the fields' values brought into their limits.
struct TLineRangeLimits {
  int firstMin = 1, firstMax = 1;
  int lastMin = 1, lastMax = 1;
  int first = 1, last = 1;
};
TLineRangeLimits LineRangeLimits(int lineCount, int firstLine, int lastLine);

// Lets a long loop (tiling a picture) hand pending window events through at
// most every interval rather than after every step.
class TEventThrottle {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  explicit TEventThrottle(std::chrono::milliseconds interval = std::chrono::milliseconds(100), Clock clock = {});
  // True when interval has passed since the start or the last true answer.
  bool Due();

 private:
  std::chrono::steady_clock::time_point Now() const;
  std::chrono::milliseconds interval_;
  Clock clock_;
  std::chrono::steady_clock::time_point last_;
};

}  // namespace kerv
