#pragma once
// Measures printed text in the page font on the device that will draw it
// (a printer, a PDF, or the screen when none is given), in device dots.

#include <QFont>
#include <QFontMetricsF>
#include <memory>
#include <vector>

#include "platform/CodePage.h"
#include "print/IPrintMeasurer.h"

class QPaintDevice;

namespace kerv {

class QtPrintMeasurer : public IPrintMeasurer {
 public:
  // device may be null: screen metrics. It must outlive the measurer.
  QtPrintMeasurer(ICodePage& codePage, QPaintDevice* device) : codePage_(codePage), device_(device) {}

  void SelectFont(const TPageFont& font) override;
  TPrintFontMetrics Metrics() override;
  // The sum of the characters' advances, rounded up. Kerning is off in the
  // page font, so a row is drawn exactly as wide as it measures; shaping a
  // whole string per measurement would cost more than the whole layout.
  int64_t TextWidth(std::string_view sjis) override;

  const QFont& Font() const { return font_; }
  // The ascent of the page font, for drawing a row from its top.
  double Ascent() const;
  // The width of one text as TextWidth measures it, unrounded.
  double Advance(std::string_view sjis);

 private:
  double CharAdvance(std::string_view character, unsigned key);

  ICodePage& codePage_;
  QPaintDevice* device_;
  TPageFont selected_;
  bool hasFont_ = false;
  QFont font_;
  std::unique_ptr<QFontMetricsF> metrics_;
  // Advance per character, keyed by its byte (single) or its two bytes: a
  // negative value is not measured yet.
  std::vector<double> advances_;
};

}  // namespace kerv
