#pragma once
// Generated test documents for the benchmarks: deterministic, so runs compare.

#include <cstddef>
#include <string>

namespace kerv::bench {

// Japanese prose in Shift_JIS (kanji, hiragana, katakana, punctuation, some
// ASCII words, digits and half-width katakana), lines of about lineBytes
// bytes ending in CR LF, until the text reaches totalBytes.
std::string JapaneseText(size_t totalBytes, size_t lineBytes = 100);

// C-like source code in ASCII with comments and strings, CR LF lines.
std::string SourceCode(size_t totalBytes);

}  // namespace kerv::bench
