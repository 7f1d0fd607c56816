#include "platform/qt/print/QtPrintMeasurer.h"

#include <QPaintDevice>
#include <algorithm>
#include <cmath>

#include "platform/qt/QtText.h"
#include "platform/qt/print/QtPrintFont.h"

namespace kerv {
namespace {

// Single bytes use keys 0..255; two bytes lead << 8 | trail, all above 255.
constexpr size_t kKeyCount = 1 << 16;

}  // namespace

void QtPrintMeasurer::SelectFont(const TPageFont& font) {
  if (hasFont_ && font == selected_) return;
  selected_ = font;
  hasFont_ = true;
  font_ = PageQFont(font, codePage_);
  metrics_ = std::make_unique<QFontMetricsF>(font_, device_);
  advances_.assign(kKeyCount, -1.0);
}

TPrintFontMetrics QtPrintMeasurer::Metrics() {
  if (!metrics_) SelectFont(TPageFont{});
  TPrintFontMetrics result;
  result.lineHeight = std::max<int64_t>(1, std::llround(std::ceil(metrics_->height() + std::max(0.0, metrics_->leading()))));
  result.averageCharWidth = std::max<int64_t>(1, std::llround(metrics_->averageCharWidth()));
  result.italic = font_.italic();
  return result;
}

double QtPrintMeasurer::Ascent() const { return metrics_ ? metrics_->ascent() : 0.0; }

double QtPrintMeasurer::CharAdvance(std::string_view character, unsigned key) {
  double& advance = advances_[key];
  if (advance < 0) advance = metrics_->horizontalAdvance(SjisToQString(codePage_, character));
  return advance;
}

double QtPrintMeasurer::Advance(std::string_view sjis) {
  if (!metrics_) SelectFont(TPageFont{});
  double width = 0;
  for (size_t byteIndex = 0; byteIndex < sjis.size();) {
    const auto lead = static_cast<unsigned char>(sjis[byteIndex]);
    if (IsLeadByte(lead) && byteIndex + 1 < sjis.size()) {
      const auto trail = static_cast<unsigned char>(sjis[byteIndex + 1]);
      width += CharAdvance(sjis.substr(byteIndex, 2), unsigned{lead} << 8 | trail);
      byteIndex += 2;
    } else {
      width += CharAdvance(sjis.substr(byteIndex, 1), lead);
      ++byteIndex;
    }
  }
  return width;
}

int64_t QtPrintMeasurer::TextWidth(std::string_view sjis) {
  // A hair below a whole dot is rounding noise of the sums, not a dot.
  return static_cast<int64_t>(std::ceil(Advance(sjis) - 1e-6));
}

}  // namespace kerv
