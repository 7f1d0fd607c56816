#include "image/TVuvELayout.h"

#include <algorithm>
#include <climits>

#include "image/EImageError.h"
#include "image/TImageOutputType.h"

namespace kerv {
namespace {

int SaturatedSum(int64_t a, int64_t b) { return static_cast<int>(std::clamp<int64_t>(a + b, INT_MIN, INT_MAX)); }

// Calls visit(line, text) for every line (1-based) from first to last of
// text; stops early when visit returns false.
template <class Visit>
void ForEachLine(std::string_view text, int firstLine, int lastLine, Visit visit) {
  size_t pos = 0;
  for (int line = 1; line <= lastLine && pos <= text.size(); ++line) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    if (line >= firstLine && !visit(line, text.substr(pos, end - pos))) return;
    if (end == text.size()) return;
    pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    // A text ending in a line break has no further line after it.
    if (pos == text.size()) return;
  }
}

// The first non-empty line of the range, or an empty string.
std::string FirstNonEmptyLine(std::string_view text, int firstLine, int lastLine) {
  std::string first;
  ForEachLine(text, std::max(firstLine, 1), lastLine, [&](int, std::string_view lineText) {
    if (lineText.empty()) return true;
    first.assign(lineText);
    return false;
  });
  return first;
}

}  // namespace

TImageSize MarginExtension(const TVuvESettings& settings) {
  if (!settings.ExpMargin) return TImageSize{};
  return TImageSize{SaturatedSum(settings.LeftMargin, settings.RightMargin),
                    SaturatedSum(settings.TopMargin, settings.BottomMargin)};
}

TImageSize ImageSizeFor(const TVuvESettings& settings, TImageSize textSize, TImageSize pictureSize) {
  TImageSize fitted;
  switch (settings.SizeSetType) {
    case TVuvESizeMode::Given: return TImageSize{settings.SizeX, settings.SizeY};
    case TVuvESizeMode::FitText: fitted = textSize; break;
    case TVuvESizeMode::FitPicture: fitted = pictureSize; break;
  }
  TImageSize e = MarginExtension(settings);
  return TImageSize{SaturatedSum(fitted.width, e.width), SaturatedSum(fitted.height, e.height)};
}

std::vector<TPixelRect> MarginFillBands(TImageSize image, const TVuvESettings& settings) {
  std::vector<TPixelRect> bands;
  if (!settings.FillMargin) return bands;
  int w = image.width, h = image.height;
  if (settings.TopMargin > 0) bands.push_back({0, 0, w, settings.TopMargin});
  if (settings.BottomMargin > 0) bands.push_back({0, h - settings.BottomMargin, w, h});
  if (settings.LeftMargin > 0) bands.push_back({0, 0, settings.LeftMargin, h});
  if (settings.RightMargin > 0) bands.push_back({w - settings.RightMargin, 0, w, h});
  return bands;
}

TTileGrid::TTileGrid(TImageSize image, TImageSize picture, bool tile) : picture_(picture) {
  if (picture.width <= 0 || picture.height <= 0 || image.width <= 0 || image.height <= 0) return;
  if (!tile) {
    columns_ = rows_ = 1;
    return;
  }
  columns_ = (image.width - 1) / picture.width + 1;
  rows_ = (image.height - 1) / picture.height + 1;
}

TPixelPoint TTileGrid::At(int64_t index) const {
  auto column = static_cast<int>(index / rows_);
  auto row = static_cast<int>(index % rows_);
  return TPixelPoint{column * picture_.width, row * picture_.height};
}

TPixelRect TextBox(TImageSize image, const TVuvESettings& settings) {
  TPixelRect box{settings.LeftMargin, settings.TopMargin, image.width - settings.RightMargin,
                 image.height - settings.BottomMargin};
  box.right = std::max(box.right, box.left);
  box.bottom = std::max(box.bottom, box.top);
  return box;
}

int TextTop(const TPixelRect& box, int textHeight, bool singleLine, const TVuvESettings& settings) {
  if (!singleLine || !settings.TextVAlign) return box.top;
  return box.top + (box.Height() - textHeight) / 2;
}

int LineLeft(const TPixelRect& box, int lineWidth, TVuvEAlign align) {
  switch (align) {
    case TVuvEAlign::Left: break;
    case TVuvEAlign::Center: return box.left + (box.Width() - lineWidth) / 2;
    case TVuvEAlign::Right: return box.right - lineWidth;
  }
  return box.left;
}

int FontPixelHeight(int points, int dotsPerInch) {
  int64_t scaled = int64_t{points} * dotsPerInch;
  return static_cast<int>((scaled >= 0 ? scaled + 36 : scaled - 36) / 72);
}

TPreparedText PrepareText(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && static_cast<unsigned char>(text[end - 1]) <= 0x20) --end;
  TPreparedText prepared;
  prepared.text.assign(text.substr(0, end));
  prepared.singleLine = prepared.text.find_first_of("\r\n") == std::string::npos;
  return prepared;
}

std::vector<TNumberedLine> CollectLines(std::string_view text, int firstLine, int lastLine) {
  std::vector<TNumberedLine> lines;
  ForEachLine(text, std::max(firstLine, 1), lastLine, [&](int line, std::string_view lineText) {
    if (!lineText.empty()) lines.push_back(TNumberedLine{static_cast<int>(lines.size()), line, std::string(lineText)});
    return true;
  });
  return lines;
}

std::string TextToMeasure(const TVuvESettings& settings, std::string_view wholeText, std::string_view selection) {
  if (settings.CntCnv) return FirstNonEmptyLine(wholeText, settings.FirstLine, settings.LastLine);
  return PrepareText(settings.AllText ? wholeText : selection).text;
}

void CheckContinuousConversion(const TVuvESettings& settings, std::string_view wholeText) {
  if (settings.CntCnv_Foldor.find_first_not_of(' ') == std::string::npos) {
    throw EImageError(TImageMessage::NoOutputFolder);
  }
  if (FirstNonEmptyLine(wholeText, settings.FirstLine, settings.LastLine).empty()) {
    throw EImageError(TImageMessage::NoText);
  }
  FileNameStemText(settings.CntCnv_FileName);
}

TLineRangeLimits LineRangeLimits(int lineCount, int firstLine, int lastLine) {
  constexpr int kLastMinCap = 1000;
  TLineRangeLimits limits;
  int top = std::clamp(lineCount, 1, TVuvESettings::kMaxLineField);
  limits.lastMax = top;
  limits.last = std::clamp(lastLine, 1, top);
  limits.firstMax = limits.last;
  limits.first = std::clamp(firstLine, 1, limits.firstMax);
  limits.lastMin = std::min(limits.first, kLastMinCap);
  return limits;
}

TEventThrottle::TEventThrottle(std::chrono::milliseconds interval, Clock clock)
    : interval_(interval), clock_(std::move(clock)), last_(Now()) {}

std::chrono::steady_clock::time_point TEventThrottle::Now() const {
  return clock_ ? clock_() : std::chrono::steady_clock::now();
}

bool TEventThrottle::Due() {
  auto now = Now();
  if (now - last_ < interval_) return false;
  last_ = now;
  return true;
}

}  // namespace kerv
