#pragma once
// The core's collation for sorting lines without a locale.
//
// Lines compare character by character on a primary weight; only when the
// whole lines are equal on it do the variants decide (case, then width and
// kana kind), and last the bytes, so only identical lines compare equal.
//
// Primary order, by group:
//   1. control bytes (TAB among them), by code
//   2. blanks (the blank and the full-width blank are equal)
//   3. symbols: ASCII punctuation by ASCII code (full-width forms folded to
//      ASCII), then the other symbols (。「」、・ー゛゜, ①, box drawing, ...)
//      by Shift_JIS code, half-width forms folded to full width
//   4. digits 0-9, either width
//   5. Latin letters a-z, either case and width
//   6. Greek, then Cyrillic letters, either case
//   7. kana in the order of the Japanese syllabary (ぁあぃい...をん):
//      hiragana, katakana and half-width kana fold together, ｶﾞ to ガ to が;
//      ヴ follows う, ヵ and ヶ precede か and け
//   8. kanji and everything else by Shift_JIS code (which orders the first
//      level of kanji by reading)
// Variants (tie-break): lower case before upper case; then ASCII, hiragana
// and the full-width symbols before full-width forms and katakana, before
// half-width kana forms.

#include <string>
#include <string_view>

#include "format/ITextCollator.h"

namespace kerv {

class TKanaFoldingCollator : public ITextCollator {
 public:
  TKanaFoldingCollator();

  int Compare(std::string_view a, std::string_view b) const override;
  // The primary weights, two bytes each, most significant first.
  bool AppendSortKey(std::string_view text, std::string& key) const override;

 private:
  struct Weights;
  const Weights* weights_;
};

}  // namespace kerv
