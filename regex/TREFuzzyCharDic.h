#pragma once
// The built-in fuzzy-character dictionary: 145 groups of characters that
// match each other (widths, kana, case, small kana, voicing marks, numerals).

#include "regex/TREPreProcessor.h"

namespace kerv {

// Built on first use and kept for the whole run; read only afterwards.
const TREDictionary& BuiltinFuzzyCharDic();

}  // namespace kerv
