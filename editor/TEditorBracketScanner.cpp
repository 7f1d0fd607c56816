#include "editor/TEditorBracketScanner.h"

#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "editor/TEditorViewInfo.h"

namespace kerv {
namespace {

inline unsigned char Byte(const char* p) { return static_cast<unsigned char>(*p); }

// A byte of the text the parser never reads at or past: the text ends there.
inline bool IsTerminator(unsigned char b) { return b == '\0' || b == '\r' || b == '\n'; }

// Whether p starts a character, anchor (at or before p) being known to: the
// byte before a run of lead-byte values always ends a character, and the run
// after it pairs up, so only the run right before p is read.
inline bool OnBoundary(const char* anchor, const char* p) {
  const char* q = p;
  while (q > anchor && IsLeadByte(Byte(q - 1))) --q;
  return ((p - q) & 1) == 0;
}

// The character after the one at p (a lead byte at the last place is one byte).
inline const char* NextChar(const char* p, const char* stop) {
  return IsLeadByte(Byte(p)) && p + 1 < stop ? p + 2 : p + 1;
}

// Bracket strings are short: compared in place.
inline bool Matches(const char* p, const char* stop, const std::string& s) {
  if (static_cast<size_t>(stop - p) < s.size()) return false;
  for (size_t i = 0; i < s.size(); ++i) {
    if (p[i] != s[i]) return false;
  }
  return true;
}

// A bracket string the skim can take: it does not start with a byte the
// parser skips before a token, and holds no byte that ends the text.
bool SkimmableBracket(const std::string& s) {
  if (s.empty() || Byte(s.data()) <= 0x20) return false;
  for (char c : s) {
    if (IsTerminator(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// Whether s is whole characters: a token cut after it stays on a boundary.
bool WholeCharacters(const std::string& s) {
  size_t i = 0;
  while (i < s.size()) i += IsLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
  return i == s.size();
}

#if defined(__SSE2__)
// The lanes of a block of sixteen bytes where a needle may start or the text
// ends. With kTwoBytes, first is b0 and second (the block moved on by one
// byte) is b1; else the first byte is any of b0..b3.
template <bool kTwoBytes>
inline unsigned BlockMask(__m128i block, __m128i second, __m128i b0, __m128i b1, __m128i b2, __m128i b3) {
  const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(block, _mm_setzero_si128()),
                                    _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('\r')),
                                                 _mm_cmpeq_epi8(block, _mm_set1_epi8('\n'))));
  __m128i starts;
  if constexpr (kTwoBytes) {
    starts = _mm_and_si128(_mm_cmpeq_epi8(block, b0), _mm_cmpeq_epi8(second, b1));
  } else {
    starts = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, b0), _mm_cmpeq_epi8(block, b1)),
                          _mm_or_si128(_mm_cmpeq_epi8(block, b2), _mm_cmpeq_epi8(block, b3)));
  }
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(ends, starts)));
}

template <bool kTwoBytes>
const char* FindInBlocks(const char* begin, const char* from, const char* stop, const unsigned char (&bytes)[4]) {
  const __m128i b0 = _mm_set1_epi8(static_cast<char>(bytes[0]));
  const __m128i b1 = _mm_set1_epi8(static_cast<char>(bytes[1]));
  const __m128i b2 = _mm_set1_epi8(static_cast<char>(bytes[2]));
  const __m128i b3 = _mm_set1_epi8(static_cast<char>(bytes[3]));
  while (stop - from >= 17) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 1));
    if (const unsigned mask = BlockMask<kTwoBytes>(block, second, b0, b1, b2, b3)) {
      return from + std::countr_zero(mask);
    }
    from += 16;
  }
  // The rest, up to sixteen bytes, as one block ending at stop: the text's
  // own bytes where it has sixteen, else a copy; lanes before from are masked off.
  const int rest = static_cast<int>(stop - from);
  __m128i block;
  if (stop - begin >= 16) {
    block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(stop - 16));
  } else {
    alignas(16) char copy[16] = {};
    std::memcpy(copy + (16 - rest), from, static_cast<size_t>(rest));
    block = _mm_load_si128(reinterpret_cast<const __m128i*>(copy));
  }
  // The byte after the last lane is past the text: a zero matches no second byte.
  const __m128i second = _mm_srli_si128(block, 1);
  const unsigned mask = BlockMask<kTwoBytes>(block, second, b0, b1, b2, b3) & (0xFFFFu << (16 - rest)) & 0xFFFFu;
  if (mask == 0) return nullptr;
  return stop - (16 - std::countr_zero(mask));
}
#endif

}  // namespace

// The first place in [from, stop) where the needle may start or the text
// ends (a NUL, CR or LF), or null. begin is the start of the text: the last
// block is read as the sixteen bytes before stop where the text has them.
const char* TEditorBracketScanner::Find(const char* begin, const char* from, const char* stop, const Needle& needle) {
  if (from >= stop) return nullptr;
  if (needle.count > 4) {
    for (; from < stop; ++from) {
      const unsigned char b = Byte(from);
      if (IsTerminator(b) || ((needle.set[b >> 6] >> (b & 63)) & 1u)) return from;
    }
    return nullptr;
  }
#if defined(__SSE2__)
  return needle.twoBytes ? FindInBlocks<true>(begin, from, stop, needle.bytes)
                         : FindInBlocks<false>(begin, from, stop, needle.bytes);
#else
  for (; from < stop; ++from) {
    const unsigned char b = Byte(from);
    if (IsTerminator(b)) return from;
    if (needle.twoBytes) {
      if (b == needle.bytes[0] && from + 1 < stop && Byte(from + 1) == needle.bytes[1]) return from;
    } else if ((needle.set[b >> 6] >> (b & 63)) & 1u) {
      return from;
    }
  }
  return nullptr;
#endif
}

TEditorBracketScanner::Needle TEditorBracketScanner::MakeNeedle(const std::vector<const std::string*>& strings) {
  Needle needle;
  // When every string starts with the same two bytes, those are looked for:
  // they rule out most of the places the first byte alone would not.
  bool shared = !strings.empty();
  for (const std::string* s : strings) {
    if (s->size() < 2 || s->compare(0, 2, *strings.front(), 0, 2) != 0) shared = false;
  }
  if (shared) {
    needle.twoBytes = true;
    needle.count = 1;
    needle.bytes[0] = Byte(strings.front()->data());
    needle.bytes[1] = Byte(strings.front()->data() + 1);
    needle.set[needle.bytes[0] >> 6] |= uint64_t{1} << (needle.bytes[0] & 63);
    return needle;
  }
  for (const std::string* s : strings) {
    const unsigned char first = Byte(s->data());
    if ((needle.set[first >> 6] >> (first & 63)) & 1u) continue;
    needle.set[first >> 6] |= uint64_t{1} << (first & 63);
    if (needle.count < 4) needle.bytes[needle.count] = first;
    ++needle.count;
  }
  // Unused places repeat the first byte, so that all four may be compared.
  for (int i = needle.count; i < 4; ++i) needle.bytes[i] = needle.bytes[0];
  return needle;
}

TEditorBracketScanner::TEditorBracketScanner(TEditorParserFactory factory, const TEditorViewInfo* viewInfo)
    : factory_(factory), viewInfo_(viewInfo) {
  if (viewInfo_ == nullptr) return;
  const TEditorBracketCollection& pairs = viewInfo_->Brackets();
  pairCount_ = pairs.Count();
  // The skim stands in for the plain parser only, and only where every token
  // the parser makes ends on a character boundary: a quote that is a lead
  // byte or a number prefix cut inside a character would shift them.
  skim_ = (factory_ == &TEditorParser::Create || factory_ == &CreateEditorParser<TEditorParser>) &&
          (viewInfo_->Quotation().empty() || !IsLeadByte(Byte(viewInfo_->Quotation().data()))) &&
          WholeCharacters(viewInfo_->HexPrefix());
  for (int i = 0; i < pairCount_ && skim_; ++i) {
    const std::string& left = pairs.Items(i).LeftBracket();
    const std::string& right = pairs.Items(i).RightBracket();
    // A pair without a left bracket never opens; one without a right bracket
    // closes at the row's first token, which the parser alone knows.
    if ((!left.empty() && !SkimmableBracket(left)) || !SkimmableBracket(right)) skim_ = false;
    lefts_.push_back(left);
    rights_.push_back(right);
  }
  if (!skim_) return;
  std::vector<const std::string*> lefts;
  for (const std::string& left : lefts_) {
    if (!left.empty()) lefts.push_back(&left);
  }
  leftNeedle_ = MakeNeedle(lefts);
  for (const std::string& right : rights_) rightNeedles_.push_back(MakeNeedle({&right}));
}

TEditorBracketScanner::~TEditorBracketScanner() = default;

int TEditorBracketScanner::ScanRow(std::string_view row, int state, const std::string_view* next) {
  if (row.empty()) return state;
  // Without bracket pairs every state is "none": no row needs reading.
  if (viewInfo_ != nullptr && pairCount_ == 0) return kBracketNone;
  if (next == nullptr) return ScanText(row, state);
  size_t take = 0;
  auto takeBlanks = [&] {
    while (take < next->size() && ((*next)[take] == ' ' || (*next)[take] == '\t')) ++take;
  };
  takeBlanks();
  if (take == 0 && !next->empty()) {
    TEditorParser& probe = ParserOn(*next, kBracketNone);
    take = static_cast<size_t>(probe.TokenPos() + probe.TokenLength());
    takeBlanks();
  }
  joined_.assign(row).append(next->substr(0, take));
  return ScanText(joined_, state);
}

int TEditorBracketScanner::ScanText(std::string_view text, int state) {
  return skim_ ? SkimText(text, state) : ParseText(text, state);
}

TEditorParser& TEditorBracketScanner::ParserOn(std::string_view text, int state) {
  if (parser_) {
    parser_->Restart(text.data(), text.size(), state);
  } else {
    parser_ = factory_(text.data(), text.size(), state, viewInfo_);
  }
  return *parser_;
}

int TEditorBracketScanner::ParseText(std::string_view text, int state) {
  TEditorParser& parser = ParserOn(text, state);
  while (parser.Token() != tkEnd) parser.NextToken();
  return parser.BracketState();
}

int TEditorBracketScanner::SkimText(std::string_view text, int state) const {
  // The states the parser brings into range first; "not computed" never changes.
  if (state <= kBracketNotComputed) return kBracketNotComputed;
  if (state >= pairCount_) state = kBracketNone;
  const char* const begin = text.data();
  const char* const stop = begin + text.size();
  const char* anchor = begin;  // a character boundary at or before the next place looked at
  const char* from = begin;    // where the search goes on
  while (true) {
    const Needle& needle = state >= 0 ? rightNeedles_[static_cast<size_t>(state)] : leftNeedle_;
    const char* hit = Find(begin, from, stop, needle);
    if (hit == nullptr || IsTerminator(Byte(hit))) return state;
    from = hit + 1;
    // Inside the character before the anchor, or a trail byte: not a place
    // a token may start.
    if (hit < anchor) continue;
    if (!OnBoundary(anchor, hit)) {
      anchor = hit + 1;
      continue;
    }
    if (state >= 0) {
      const std::string& right = rights_[static_cast<size_t>(state)];
      if (Matches(hit, stop, right)) {
        anchor = from = hit + right.size();
        state = kBracketNone;
        continue;
      }
    } else {
      // The parser tries the pairs in order at a token's start.
      int pair = 0;
      while (pair < pairCount_ && (lefts_[static_cast<size_t>(pair)].empty() ||
                                   !Matches(hit, stop, lefts_[static_cast<size_t>(pair)]))) {
        ++pair;
      }
      if (pair < pairCount_) {
        anchor = from = hit + lefts_[static_cast<size_t>(pair)].size();
        state = pair;
        continue;
      }
    }
    anchor = NextChar(hit, stop);
  }
}

}  // namespace kerv
