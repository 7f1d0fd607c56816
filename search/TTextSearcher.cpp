#include "search/TTextSearcher.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/CodePage.h"

namespace kerv {
namespace {

// Every text character the byte search could meet: single bytes, double-byte
// characters, and half-width kana with a voicing mark.
std::vector<std::string> TextCharacters() {
  std::vector<std::string> all;
  for (int b = 1; b < 256; ++b) {
    if (!IsLeadByte(static_cast<unsigned char>(b))) all.emplace_back(1, static_cast<char>(b));
  }
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 1; trail < 256; ++trail) all.push_back({static_cast<char>(lead), static_cast<char>(trail)});
  }
  for (int kana = 0xA6; kana <= 0xDD; ++kana) {
    for (int mark : {0xDE, 0xDF}) {
      if (ZenkakuOfPair(static_cast<uint8_t>(kana), static_cast<uint8_t>(mark)) != 0) {
        all.push_back({static_cast<char>(kana), static_cast<char>(mark)});
      }
    }
  }
  return all;
}

// The text forms that match one prepared pattern character, asked of the
// search's own comparison so that the shortcut cannot disagree with it.
std::vector<std::string> FormsOf(std::string_view character, SearchFlags flags) {
  static const std::vector<std::string> characters = TextCharacters();
  uint16_t code = static_cast<unsigned char>(character[0]);
  if (character.size() == 2) code = static_cast<uint16_t>(code << 8 | static_cast<unsigned char>(character[1]));
  std::vector<std::string> forms;
  for (const std::string& text : characters) {
    int length = static_cast<int>(text.size());
    if (MatchTextChar(reinterpret_cast<const uint8_t*>(text.data()), length, 0, code,
                      static_cast<int>(character.size()), flags) == length) {
      forms.push_back(text);
    }
  }
  return forms;
}

// How common a byte is in Japanese Shift_JIS text, roughly: the lead bytes
// of kana and punctuation and the blanks most, then ASCII letters and digits
// and the kanji lead bytes; trail bytes spread over many values.
int Commonness(unsigned char b) {
  if (b >= 0x81 && b <= 0x83) return 5;
  if (b == ' ' || b == '\r' || b == '\n' || b == '\t') return 5;
  if ((b >= 'a' && b <= 'z') || (b >= '0' && b <= '9')) return 4;
  if ((b >= 0x88 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEA)) return 3;
  if (b >= 'A' && b <= 'Z') return 2;
  return 1;
}

constexpr size_t kMaxNeedles = 8;
constexpr size_t kUnscanned = std::string_view::npos - 1;
constexpr size_t kEnoughBytes = 4;
constexpr size_t kMaxNeedleBytes = 16;
constexpr size_t kMaxFilterBytes = 4;

}  // namespace

TTextSearcher::TTextSearcher(std::string pattern, SearchFlags flags) : pattern_(std::move(pattern)), flags_(flags) {
  pattern_ = pattern_.substr(0, std::strlen(pattern_.c_str()));
  prepared_ = PrepareSearchPattern(pattern_, flags);
  if (prepared_.empty()) return;

  // The needles are the text forms of the first characters, combined while
  // they stay few: a character with one form always lengthens them, one with
  // several only while they are short. Returns and blanks may stand between
  // later characters, so with those options only the first one counts.
  const bool skipsInside = flags & (SearchFlag::IncludeRet | SearchFlag::IncludeSpace);
  needles_ = {std::string()};
  for (size_t i = 0; i < prepared_.size();) {
    size_t width = (IsLeadByte(static_cast<unsigned char>(prepared_[i])) && i + 1 < prepared_.size()) ? 2 : 1;
    std::vector<std::string> forms = FormsOf(std::string_view(prepared_).substr(i, width), flags);
    size_t shortest = needles_[0].size();
    for (const std::string& needle : needles_) shortest = std::min(shortest, needle.size());
    if (i > 0 && (forms.empty() || shortest >= kMaxNeedleBytes ||
                  (forms.size() > 1 && (shortest >= kEnoughBytes || needles_.size() * forms.size() > kMaxNeedles)))) {
      break;
    }
    std::vector<std::string> longer;
    for (const std::string& needle : needles_) {
      for (const std::string& form : forms) longer.push_back(needle + form);
    }
    needles_ = std::move(longer);
    i += width;
    if (skipsInside || needles_.empty()) break;
  }
  std::sort(needles_.begin(), needles_.end());
  needles_.erase(std::unique(needles_.begin(), needles_.end()), needles_.end());

  // The fixed-width prefix: each character's forms all as long as each other.
  for (size_t i = 0; i < prepared_.size() && offsetBytes_.size() < kMaxNeedleBytes;) {
    size_t width = (IsLeadByte(static_cast<unsigned char>(prepared_[i])) && i + 1 < prepared_.size()) ? 2 : 1;
    std::vector<std::string> forms = FormsOf(std::string_view(prepared_).substr(i, width), flags);
    if (forms.empty() || std::any_of(forms.begin(), forms.end(), [&](const std::string& f) { return f.size() != forms[0].size(); })) {
      break;
    }
    for (size_t j = 0; j < forms[0].size(); ++j) {
      std::vector<char> bytes;
      for (const std::string& form : forms) {
        if (std::find(bytes.begin(), bytes.end(), form[j]) == bytes.end()) bytes.push_back(form[j]);
      }
      offsetBytes_.push_back(std::move(bytes));
    }
    i += width;
    if (skipsInside) break;
  }
  // The two offsets whose bytes are fewest and rarest, different values
  // preferred where the bytes are the same.
  auto score = [&](size_t offset) {
    int total = 0;
    for (char b : offsetBytes_[offset]) total += Commonness(static_cast<unsigned char>(b));
    return offsetBytes_[offset].size() > kMaxFilterBytes ? 1000 : total;
  };
  if (!offsetBytes_.empty()) {
    size_t best = 0;
    for (size_t k = 1; k < offsetBytes_.size(); ++k) {
      if (score(k) < score(best)) best = k;
    }
    auto secondScore = [&](size_t k) { return score(k) + (offsetBytes_[k] == offsetBytes_[best] ? 3 : 0); };
    size_t second = best;
    for (size_t k = 0; k < offsetBytes_.size(); ++k) {
      if (k != best && (second == best || secondScore(k) < secondScore(second))) second = k;
    }
    filterA_ = std::min(best, second);
    filterB_ = std::max(best, second);
    useFilter_ = score(filterA_) < 1000 && score(filterB_) < 1000;
  }
}

size_t TTextSearcher::NextCandidate(std::string_view text, size_t from) {
  if (from == 0 || from < lastFrom_ || text.data() != scannedText_ || text.size() != scannedSize_ ||
      nextHit_.size() != needles_.size()) {
    scannedText_ = text.data();
    scannedSize_ = text.size();
    nextHit_.assign(needles_.size(), kUnscanned);
  }
  lastFrom_ = from;
  while (from < text.size()) {
    if (useFilter_) {
      size_t candidate = FindFiltered(text, from);
      if (candidate == std::string_view::npos) return candidate;
      if (ComparePreparedAt(text, static_cast<int>(candidate), prepared_, flags_) > 0) return candidate;
      from = candidate + 1;
      continue;
    }
    size_t candidate = std::string_view::npos;
    for (size_t k = 0; k < needles_.size(); ++k) {
      // A hit at or after from stays the first one; earlier ones are used up.
      if (nextHit_[k] == kUnscanned || (nextHit_[k] != std::string_view::npos && nextHit_[k] < from)) {
        nextHit_[k] = Find(text, from, k);
      }
      candidate = std::min(candidate, nextHit_[k]);
    }
    if (candidate == std::string_view::npos) return candidate;
    if (ComparePreparedAt(text, static_cast<int>(candidate), prepared_, flags_) > 0) return candidate;
    from = candidate + 1;
  }
  return std::string_view::npos;
}

size_t TTextSearcher::Find(std::string_view text, size_t from, size_t k) const {
  const std::string& needle = needles_[k];
  const void* hit = needle.size() == 1 ? std::memchr(text.data() + from, needle[0], text.size() - from)
                                       : ::memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
  return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text.data()) : std::string_view::npos;
}

size_t TTextSearcher::FindFiltered(std::string_view text, size_t from) const {
  const size_t span = offsetBytes_.size();  // every match spans the fixed-width prefix
  if (text.size() < span || from > text.size() - span) return std::string_view::npos;
  const size_t lastStart = text.size() - span;
  const char* data = text.data();
  const std::vector<char>& bytesA = offsetBytes_[filterA_];
  const std::vector<char>& bytesB = offsetBytes_[filterB_];
  auto fits = [](const std::vector<char>& bytes, char b) { return std::find(bytes.begin(), bytes.end(), b) != bytes.end(); };
  // Every byte of the prefix at its offset, not only the two the scan looks at.
  auto prefixFits = [&](size_t start) {
    for (size_t k = 0; k < span; ++k) {
      if (!fits(offsetBytes_[k], data[start + k])) return false;
    }
    return true;
  };
  size_t i = from;
#if defined(__SSE2__)
  __m128i setA[kMaxFilterBytes], setB[kMaxFilterBytes];
  for (size_t m = 0; m < bytesA.size(); ++m) setA[m] = _mm_set1_epi8(bytesA[m]);
  for (size_t m = 0; m < bytesB.size(); ++m) setB[m] = _mm_set1_epi8(bytesB[m]);
  for (; i + 15 <= lastStart; i += 16) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + filterA_));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + filterB_));
    __m128i inA = _mm_cmpeq_epi8(a, setA[0]);
    for (size_t m = 1; m < bytesA.size(); ++m) inA = _mm_or_si128(inA, _mm_cmpeq_epi8(a, setA[m]));
    __m128i inB = _mm_cmpeq_epi8(b, setB[0]);
    for (size_t m = 1; m < bytesB.size(); ++m) inB = _mm_or_si128(inB, _mm_cmpeq_epi8(b, setB[m]));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(inA, inB)));
    for (; mask != 0; mask &= mask - 1) {
      size_t start = i + static_cast<size_t>(std::countr_zero(mask));
      if (prefixFits(start)) return start;
    }
  }
#endif
  for (; i <= lastStart; ++i) {
    if (fits(bytesA, data[i + filterA_]) && fits(bytesB, data[i + filterB_]) && prefixFits(i)) return i;
  }
  return std::string_view::npos;
}

bool TTextSearcher::FindIn(std::string_view line, TSearchPosition& match, int from) const {
  match = TSearchPosition{from, 0};
  return SearchBuffer(line, match, pattern_, static_cast<SearchFlags>(flags_ | SearchFlag::Down));
}

}  // namespace kerv
