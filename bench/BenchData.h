#pragma once
// Generated test documents for the benchmarks: deterministic, so runs compare.

#include <cstddef>
#include <string>
#include <string_view>

namespace kerv::bench {

// Japanese prose in Shift_JIS (kanji, hiragana, katakana, punctuation, some
// ASCII words, digits and half-width katakana), lines of about lineBytes
// bytes ending in CR LF, until the text reaches totalBytes.
std::string JapaneseText(size_t totalBytes, size_t lineBytes = 100);

// The 100 MB Japanese text every search benchmark reads, made once.
const std::string& SharedJapaneseText();

// A UTF-8 literal of a benchmark in Shift_JIS.
std::string Sjis(std::string_view utf8);

// C-like source code in ASCII with comments and strings, CR LF lines.
std::string SourceCode(size_t totalBytes);

}  // namespace kerv::bench
