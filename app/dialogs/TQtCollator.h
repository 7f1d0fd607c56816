#pragma once
// Sorting with Qt's collation for Japanese, whatever the process locale
// (these systems often have only the C locales): kana in syllabary order with
// hiragana, katakana and half-width kana together, kanji after kana, Latin
// letters without regard to case or width, digits before letters.

#include <QCollator>

#include "format/ITextCollator.h"

namespace kerv {

class ICodePage;

class TQtCollator : public ITextCollator {
 public:
  explicit TQtCollator(ICodePage& codePage);

  int Compare(std::string_view a, std::string_view b) const override;
  // Converts every line once and sorts by Qt's sort keys.
  bool SortOrder(std::span<const std::string_view> lines, bool descending, std::vector<size_t>& order) const override;

 private:
  ICodePage& codePage_;
  QCollator collator_;
};

}  // namespace kerv
