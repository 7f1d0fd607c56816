#include "editor/TEditorParser.h"

#include <array>
#include <climits>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "editor/TEditorViewInfo.h"

namespace kerv {

namespace {

// What the first byte of a token says, when no view-option rule applies.
enum ByteClass : uint8_t {
  bcSymbol,
  bcTab,
  bcDigit,
  bcWordStart,
  bcLead81,
  bcLead82,
  bcLead83,
  bcLead84To87,
  bcKanjiLead,
  bcHalfKanaSymbol,
  bcHalfKana,
  bcViewRule,  // a view-option rule may start here
};

// Membership of a byte in the sets that runs are made of.
enum ByteFlag : uint8_t {
  bfDigit = 0x01,
  bfHex = 0x02,
  bfWord = 0x04,
  bfMail = 0x08,
  bfUrl = 0x10,
};

struct ByteTables {
  std::array<uint8_t, 256> klass{};
  std::array<uint8_t, 256> flags{};
  std::array<uint8_t, 256> blank{};  // 1 for the bytes TEditorParser skips before a token
};

constexpr ByteTables MakeByteTables() {
  ByteTables t;
  auto set = [&t](int from, int to, uint8_t flag) {
    for (int b = from; b <= to; ++b) t.flags[b] |= flag;
  };
  for (int b = 0; b < 256; ++b) t.klass[b] = bcSymbol;
  for (int b = 0x01; b <= 0x20; ++b) t.blank[b] = b != 0x09;
  t.klass[0x09] = bcTab;
  for (int b = '0'; b <= '9'; ++b) t.klass[b] = bcDigit;
  for (int b = 'A'; b <= 'Z'; ++b) t.klass[b] = bcWordStart;
  for (int b = 'a'; b <= 'z'; ++b) t.klass[b] = bcWordStart;
  t.klass['_'] = bcWordStart;
  t.klass[0x81] = bcLead81;
  t.klass[0x82] = bcLead82;
  t.klass[0x83] = bcLead83;
  for (int b = 0x84; b <= 0x87; ++b) t.klass[b] = bcLead84To87;
  for (int b = 0x88; b <= 0x9F; ++b) t.klass[b] = bcKanjiLead;
  for (int b = 0xE0; b <= 0xFC; ++b) t.klass[b] = bcKanjiLead;
  for (int b = 0xA1; b <= 0xA5; ++b) t.klass[b] = bcHalfKanaSymbol;
  for (int b = 0xA6; b <= 0xDF; ++b) t.klass[b] = bcHalfKana;

  set('0', '9', bfDigit | bfHex | bfWord | bfMail | bfUrl);
  set('A', 'F', bfHex);
  set('a', 'f', bfHex);
  set('A', 'Z', bfWord | bfMail | bfUrl);
  set('a', 'z', bfWord | bfMail | bfUrl);
  set('_', '_', bfWord | bfMail | bfUrl);
  for (char c : {'!', '$', '%', '&', '*', ',', '-', '.', '/', ';', '=', '?', '@', '^', '~'}) set(c, c, bfMail);
  for (char c : {'#', '%', '&', '+', '-', '.', '/', ':', '=', '?', '@', '~'}) set(c, c, bfUrl);
  return t;
}

constexpr ByteTables kTables = MakeByteTables();

// The classes with every byte that may begin a mail address marked, the
// starting point of the class table of a parser that looks for addresses.
constexpr std::array<uint8_t, 256> MakeMailRuleClasses() {
  std::array<uint8_t, 256> classes = kTables.klass;
  for (int b = 0; b < 256; ++b) {
    if ((kTables.flags[b] & bfMail) && b != '@') classes[b] = bcViewRule;
  }
  return classes;
}

constexpr std::array<uint8_t, 256> kMailRuleClasses = MakeMailRuleClasses();

constexpr uint32_t KindBit(TTokenKind kind) { return uint32_t{1} << kind; }

inline uint8_t Flags(const char* p) { return kTables.flags[static_cast<unsigned char>(*p)]; }
inline unsigned char Byte(const char* p) { return static_cast<unsigned char>(*p); }

// The end of the text: its length, or the first NUL, CR or LF before it.
const char* FindTextEnd(const char* text, size_t length) {
  const char* end = text + length;
  for (int terminator : {'\0', '\r', '\n'}) {
    if (const void* hit = std::memchr(text, terminator, static_cast<size_t>(end - text))) {
      end = static_cast<const char*>(hit);
    }
  }
  return end;
}

// A run of double-byte characters from q on, for as long as inClass accepts
// the lead and trail byte of the next complete character.
template <typename InClass>
const char* WideRun(const char* q, const char* end, InClass inClass) {
  while (end - q >= 2 && inClass(Byte(q), Byte(q + 1))) q += 2;
  return q;
}

bool IsProlongedMark(unsigned char lead, unsigned char trail) {
  return lead == 0x81 && (trail == 0x5B || trail == 0x7C);  // "ー" and "－"
}

}  // namespace

const char* TokenKindName(int kind) {
  switch (kind) {
    case tkEnd: return "tkEnd";
    case tkSymbol: return "tkSymbol";
    case tkString: return "tkString";
    case tkInteger: return "tkInteger";
    case tkReal: return "tkReal";
    case tkBracket: return "tkBracket";
    case tkComment: return "tkComment";
    case tkWord: return "tkWord";
    case tkTab: return "tkTab";
    case tkWideSymbol: return "tkWideSymbol";
    case tkWideDigits: return "tkWideDigits";
    case tkWideLetters: return "tkWideLetters";
    case tkHiragana: return "tkHiragana";
    case tkKatakana: return "tkKatakana";
    case tkKanji: return "tkKanji";
    case tkHalfKanaSymbol: return "tkHalfKanaSymbol";
    case tkHalfKana: return "tkHalfKana";
    case tkUrl: return "tkUrl";
    case tkMail: return "tkMail";
    default: return "tk?";
  }
}

namespace {
// The kinds painted with the DBCS colour: double-byte and half-width katakana tokens.
bool IsDbcsKind(TTokenKind kind) {
  switch (kind) {
    case tkWideSymbol:
    case tkWideDigits:
    case tkWideLetters:
    case tkHiragana:
    case tkKatakana:
    case tkKanji:
    case tkHalfKanaSymbol:
    case tkHalfKana:
      return true;
    default:
      return false;
  }
}
}  // namespace

bool MayBeReserveWord(TTokenKind kind) {
  return kind == tkSymbol || kind == tkWord || kind == tkUrl || kind == tkMail || IsDbcsKind(kind);
}

const TEditorColor* TokenColor(const TEditorViewInfo& viewInfo, TTokenKind kind, int bracketIndex) {
  const TEditorColors& colors = viewInfo.Colors();
  switch (kind) {
    case tkSymbol: return &colors.Symbol();
    case tkString: return &colors.Str();
    case tkInteger:
    case tkReal: return &colors.Int();
    case tkBracket:
      if (bracketIndex < 0 || bracketIndex >= viewInfo.Brackets().Count()) return nullptr;
      return &viewInfo.Brackets().Items(bracketIndex).ItemColor();
    case tkComment: return &colors.Comment();
    case tkWord: return &colors.Ank();
    case tkUrl: return &colors.Url();
    case tkMail: return &colors.Mail();
    default: return IsDbcsKind(kind) ? &colors.DBCS() : nullptr;
  }
}

TEditorParser::TEditorParser(const char* text, size_t length) : TEditorParser(Deferred{}, text, length, 0, nullptr) {
  NextToken();
}

TEditorParser::TEditorParser(const char* text, size_t length, int startState, const TEditorViewInfo* viewInfo)
    : TEditorParser(Deferred{}, text, length, startState, viewInfo) {
  NextToken();
}

TEditorParser::TEditorParser(Deferred, const char* text, size_t length, int startState, const TEditorViewInfo* viewInfo)
    : bracketState_(startState), viewInfo_(viewInfo) {
  SetText(text, length, startState);
  byteClasses_ = kTables.klass.data();
  if (viewInfo_ == nullptr) return;

  mail_ = viewInfo_->Mail();
  std::memcpy(ruleClasses_, mail_ ? kMailRuleClasses.data() : kTables.klass.data(), sizeof ruleClasses_);
  byteClasses_ = ruleClasses_;
  auto AddRuleByte = [this](unsigned char b) { ruleClasses_[b] = bcViewRule; };

  brackets_ = &viewInfo_->Brackets();
  bracketCount_ = brackets_->Count();
  for (int i = 0; i < bracketCount_; ++i) {
    const std::string& left = brackets_->Items(i).LeftBracket();
    if (left.empty()) continue;
    const unsigned char first = Byte(left.data());
    if (singleLeftFirst_ == -1) {
      singleLeftFirst_ = first;
    } else if (singleLeftFirst_ != first) {
      singleLeftFirst_ = -2;
    }
    hasLeftBrackets_ = true;
    leftFirstBytes_.Add(first);
    AddRuleByte(first);
    // Past their first character, words and numbers hold only letters,
    // digits, '_', '.', '+' and '-'; double-byte runs only lead bytes at
    // character starts; half-width kana runs only 0xA6-0xDF.
    if ((kTables.flags[first] & bfWord) || first == '.' || first == '+' || first == '-') {
      cutKinds_ |= KindBit(tkWord) | KindBit(tkInteger) | KindBit(tkReal);
    }
    if (IsLeadByte(first)) {
      cutKinds_ |= KindBit(tkWideSymbol) | KindBit(tkWideDigits) | KindBit(tkWideLetters) | KindBit(tkHiragana) |
                   KindBit(tkKatakana) | KindBit(tkKanji);
    }
    if (first >= 0xA6 && first <= 0xDF) cutKinds_ |= KindBit(tkHalfKana);
  }
  if (singleLeftFirst_ < 0) singleLeftFirst_ = -1;
  commenter_ = viewInfo_->Commenter();
  if (!commenter_.empty()) AddRuleByte(Byte(commenter_.data()));
  hexPrefix_ = viewInfo_->HexPrefix();
  if (!hexPrefix_.empty()) AddRuleByte(Byte(hexPrefix_.data()));
  if (!viewInfo_->Quotation().empty()) {
    quote_ = Byte(viewInfo_->Quotation().data());
    AddRuleByte(static_cast<unsigned char>(quote_));
  }
  url_ = viewInfo_->Url();
  if (url_) {
    for (unsigned char b : {'f', 'h', 'w'}) AddRuleByte(b);
  }
  controlCode_ = viewInfo_->ControlCode();
  if (controlCode_) AddRuleByte('#');
  ClampState();
}

void TEditorParser::ClampState() {
  // A stored state can outlive the pair it names (the pairs were edited);
  // the row is then read as outside any bracket rather than indexing nothing.
  if (bracketState_ >= bracketCount_) bracketState_ = kBracketNone;
  if (bracketState_ < kBracketNotComputed) bracketState_ = kBracketNotComputed;
}

void TEditorParser::SetText(const char* text, size_t length, int startState) {
  if (text == nullptr) {
    text = "";
    length = 0;
  }
  // Byte offsets are ints everywhere else; a longer text is read in part.
  if (length > static_cast<size_t>(INT_MAX)) length = static_cast<size_t>(INT_MAX);
  start_ = text;
  end_ = FindTextEnd(text, length);
  tokenStart_ = text;
  position_ = text;
  mailRunEnd_ = text;
  mailLastDot_ = text;
  mailNextAt_ = text;
  token_ = tkEnd;
  bracketIndex_ = kBracketNotComputed;
  bracketState_ = startState;
}

void TEditorParser::Restart(const char* text, size_t length, int startState) {
  SetText(text, length, startState);
  if (viewInfo_ != nullptr) ClampState();
  NextToken();
}

void TEditorParser::SkipBlanks() {
  // Most tokens follow one blank or none: the first step takes no branch.
  if (position_ < end_) position_ += kTables.blank[Byte(position_)];
  while (position_ < end_ && kTables.blank[Byte(position_)]) ++position_;
}

// Runs of digits or word bytes, many bytes at a time where the text allows:
// runs are mostly shorter than that, so the loop exit is predictable and no
// per-byte branch is taken. Only bfDigit and bfWord runs come here.
inline const char* TEditorParser::RunOf(const char* q, uint8_t flag) const {
#if defined(__SSE2__)
  // Sixteen at a time with byte compares; bytes from 0x80 on compare as
  // negative and so fall outside every range.
  while (end_ - q >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
    auto inRange = [](__m128i x, char low, char high) {
      return _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(static_cast<char>(low - 1))),
                           _mm_cmplt_epi8(x, _mm_set1_epi8(static_cast<char>(high + 1))));
    };
    __m128i in = inRange(v, '0', '9');
    if (flag == bfWord) {
      in = _mm_or_si128(in, inRange(_mm_or_si128(v, _mm_set1_epi8(0x20)), 'a', 'z'));
      in = _mm_or_si128(in, _mm_cmpeq_epi8(v, _mm_set1_epi8('_')));
    }
    const unsigned stops = ~static_cast<unsigned>(_mm_movemask_epi8(in)) & 0xFFFFu;
    if (stops != 0) return q + __builtin_ctz(stops);
    q += 16;
  }
#endif
  while (end_ - q >= 8) {
    uint32_t stops = 0;
    for (int i = 0; i < 8; ++i) stops |= static_cast<uint32_t>((Flags(q + i) & flag) == 0) << i;
    if (stops != 0) return q + __builtin_ctz(stops);
    q += 8;
  }
  while (q < end_ && (Flags(q) & flag)) ++q;
  return q;
}

// The first-byte rules; inlined into NextToken, their only caller.
__attribute__((always_inline)) inline TEditorParser::Scanned TEditorParser::ScanToken(const char* p,
                                                                                      uint8_t byteClass) const {
  const unsigned char b = Byte(p);
  TTokenKind kind;
  const char* q = p + 1;
  switch (byteClass) {
    case bcTab:
      kind = tkTab;
      break;
    case bcDigit:
      kind = tkInteger;
      q = RunOf(q, bfDigit);
      if (q < end_ && *q == '.') {
        kind = tkReal;
        if (q + 1 < end_ && ((Flags(q + 1) & bfDigit) || q[1] == 'E' || q[1] == 'e')) {
          ++q;
          while (q < end_ && (Flags(q) & bfDigit)) ++q;
        }
      }
      if (q < end_ && (*q == 'E' || *q == 'e')) {
        kind = tkReal;
        ++q;
        if (q < end_ && (*q == '+' || *q == '-')) ++q;
        while (q < end_ && (Flags(q) & bfDigit)) ++q;
      }
      break;
    case bcWordStart:
      kind = tkWord;
      q = RunOf(q, bfWord);
      break;
    case bcLead81:
    case bcLead82:
    case bcLead83:
    case bcLead84To87:
    case bcKanjiLead: {
      // A lead byte with nothing after it is one byte; codes that no rule
      // names are one double-byte symbol. Either way the token advances.
      kind = tkWideSymbol;
      if (q >= end_) break;
      const unsigned char trail = Byte(q);
      q = p + 2;
      if (b == 0x82 && trail >= 0x4F && trail <= 0x58) {
        kind = tkWideDigits;
        q = WideRun(q, end_, [](unsigned char lead, unsigned char t) {
          return (lead == 0x82 && t >= 0x4F && t <= 0x58) || (lead == 0x81 && (t == 0x43 || t == 0x44));
        });
      } else if (b == 0x82 && trail >= 0x60 && trail <= 0x9A) {
        kind = tkWideLetters;
        q = WideRun(q, end_, [](unsigned char lead, unsigned char t) { return lead == 0x82 && t >= 0x60 && t <= 0x9A; });
      } else if (b == 0x82 && trail >= 0x9F && trail <= 0xF1) {
        kind = tkHiragana;
        q = WideRun(q, end_, [](unsigned char lead, unsigned char t) {
          return (lead == 0x82 && t >= 0x9F && t <= 0xF1) || IsProlongedMark(lead, t);
        });
      } else if (b == 0x83 && trail >= 0x40 && trail <= 0x96) {
        kind = tkKatakana;
        q = WideRun(q, end_, [](unsigned char lead, unsigned char t) {
          return (lead == 0x83 && t >= 0x40 && t <= 0x96) || IsProlongedMark(lead, t);
        });
      } else if (b == 0x83 && trail >= 0x9F && trail <= 0xF0) {
        q = WideRun(q, end_, [](unsigned char lead, unsigned char t) { return lead == 0x83 && t >= 0x9F && t <= 0xF0; });
      } else if (b >= 0x84 && b <= 0x87) {
        q = WideRun(q, end_, [](unsigned char lead, unsigned char) { return lead >= 0x84 && lead <= 0x87; });
      } else if (kTables.klass[b] == bcKanjiLead) {
        kind = tkKanji;
        q = WideRun(q, end_, [](unsigned char lead, unsigned char) { return kTables.klass[lead] == bcKanjiLead; });
      }
      break;
    }
    case bcHalfKanaSymbol:
      kind = tkHalfKanaSymbol;
      break;
    case bcHalfKana:
      kind = tkHalfKana;
      while (q < end_ && Byte(q) >= 0xA6 && Byte(q) <= 0xDF) ++q;
      break;
    default:
      kind = tkSymbol;
      break;
  }
  return {q, kind, false};
}

void TEditorParser::NextToken() {
  SkipBlanks();
  if (position_ > end_) position_ = end_;  // an override may overshoot
  const char* p = position_;
  tokenStart_ = p;
  if (p >= end_) {
    token_ = tkEnd;
    return;
  }
  Scanned token{nullptr, tkEnd, false};
  uint8_t byteClass = byteClasses_[Byte(p)];
  if (byteClass == bcViewRule || (bracketState_ >= 0 && viewInfo_ != nullptr)) {
    token = ScanViewRule(p);
    byteClass = kTables.klass[Byte(p)];
  }
  if (token.end == nullptr) token = ScanToken(p, byteClass);
  // A bracket token is inside its pair from end to end, so a left bracket in
  // it (a symmetric pair's closing quote) must not reopen the pair.
  if (bracketState_ == kBracketNone && token.kind != tkBracket &&
      (token.byRule ? hasLeftBrackets_ : (cutKinds_ & KindBit(token.kind)) != 0)) {
    token.end = CutAtLeftBracket(token.end);
  }
  position_ = token.end;
  token_ = token.kind;
}

TEditorParser::Scanned TEditorParser::ScanViewRule(const char* p) {
  if (bracketState_ >= 0) {
    bracketIndex_ = bracketState_;
    return {ScanRightBracket(p, bracketState_), tkBracket, true};
  }
  const unsigned char b = Byte(p);
  if (bracketState_ == kBracketNone && leftFirstBytes_.Has(b)) {
    for (int i = 0; i < bracketCount_; ++i) {
      const std::string& left = brackets_->Items(i).LeftBracket();
      if (left.empty() || !Matches(p, left)) continue;
      bracketState_ = i;
      bracketIndex_ = i;
      return {ScanRightBracket(p + left.size(), i), tkBracket, true};
    }
  }
  if (mail_ && (kTables.flags[b] & bfMail) && b != '@') {
    if (const char* mailEnd = ScanMail(p)) return {mailEnd, tkMail, true};
  }
  if (url_) {
    size_t prefix = 0;
    if (b == 'f') {
      if (Matches(p, "ftp:")) prefix = 4;
    } else if (b == 'h') {
      if (Matches(p, "http:")) prefix = 5;
      else if (Matches(p, "https:")) prefix = 6;
    } else if (b == 'w') {
      if (Matches(p, "www.")) prefix = 4;
    }
    if (prefix != 0) {
      const char* q = p + prefix;
      while (q < end_ && (Flags(q) & bfUrl)) ++q;
      return {q, tkUrl, true};
    }
  }
  if (!commenter_.empty() && Matches(p, commenter_)) {
    return {end_, tkComment, true};
  }
  if (quote_ == b) {
    const char* q = p + 1;
    while (q < end_) {
      if (Byte(q) == quote_) {
        if (q + 1 < end_ && Byte(q + 1) == quote_) {  // a doubled quote stands for one
          q += 2;
          continue;
        }
        ++q;
        break;
      }
      // Whole characters, so that a trail byte equal to the quote never ends the string.
      q = NextChar(q);
    }
    return {q, tkString, true};
  }
  if (!hexPrefix_.empty() && Matches(p, hexPrefix_)) {
    const char* q = p + hexPrefix_.size();
    while (q < end_ && (Flags(q) & bfHex)) ++q;
    return {q, tkInteger, true};
  }
  if (b == '#' && controlCode_) {
    const char* q = p + 1;
    if (q < end_ && *q == '$') {
      ++q;
      while (q < end_ && (Flags(q) & bfHex)) ++q;
    } else {
      while (q < end_ && (Flags(q) & bfDigit)) ++q;
    }
    return {q, tkString, true};
  }
  return {nullptr, tkEnd, false};
}

const char* TEditorParser::ScanRightBracket(const char* p, int pairIndex) {
  const std::string& right = brackets_->Items(pairIndex).RightBracket();
  // An empty right bracket would never close and never advance: it closes at the end of the text.
  if (right.empty()) {
    bracketState_ = kBracketNone;
    return end_;
  }
  const char* boundary = p;
  while (const char* candidate = FindByte(p, end_, right[0], boundary)) {
    if (Matches(candidate, right)) {
      bracketState_ = kBracketNone;
      return candidate + right.size();
    }
    p = boundary = NextChar(candidate);
  }
  return end_;
}

// Steps character by character from a known character boundary until target
// or just past it; a stretch of single-byte text is crossed eight bytes at a time.
const char* TEditorParser::WalkTo(const char* boundary, const char* target) const {
  constexpr uint64_t kHighs = 0x8080808080808080ull;
  while (boundary < target) {
    while (target - boundary >= 8) {
      uint64_t word;
      std::memcpy(&word, boundary, 8);
      if (word & kHighs) break;
      boundary += 8;
    }
    if (boundary >= target) break;
    boundary = NextChar(boundary);
  }
  return boundary;
}

// The first occurrence of b in [from, limit) that starts a character, or null.
// boundary is a character boundary at or before from and is moved on with the search.
const char* TEditorParser::FindByte(const char* from, const char* limit, char b, const char*& boundary) const {
  while (from < limit) {
    const void* hit = std::memchr(from, b, static_cast<size_t>(limit - from));
    if (hit == nullptr) return nullptr;
    const char* candidate = static_cast<const char*>(hit);
    boundary = WalkTo(boundary, candidate);
    if (boundary == candidate) return candidate;
    from = boundary;  // the byte was the trail of a double-byte character
  }
  return nullptr;
}

// The end of the mail address that starts at p, or null.
const char* TEditorParser::ScanMail(const char* p) {
  if (p >= mailRunEnd_) {
    const char* q = p + 1;
    const char* lastDot = p;
    const char* firstAt = nullptr;
    while (q < end_ && (Flags(q) & bfMail)) {
      if (*q == '.') lastDot = q;
      else if (*q == '@' && firstAt == nullptr) firstAt = q;
      ++q;
    }
    mailRunEnd_ = q;
    mailLastDot_ = lastDot;
    mailNextAt_ = firstAt != nullptr ? firstAt : q;
  } else if (mailNextAt_ <= p) {
    // Still inside the run: only the '@' has to be looked for again, from here on.
    const char* q = p + 1;
    while (q < mailRunEnd_ && *q != '@') ++q;
    mailNextAt_ = q;
  }
  // An '@' after the first byte with a '.' somewhere after it.
  return mailNextAt_ < mailRunEnd_ && mailLastDot_ > mailNextAt_ ? mailRunEnd_ : nullptr;
}

bool TEditorParser::LeftBracketAt(const char* q) const {
  for (int i = 0; i < bracketCount_; ++i) {
    const std::string& left = brackets_->Items(i).LeftBracket();
    if (!left.empty() && Matches(q, left)) return true;
  }
  return false;
}

const char* TEditorParser::CutAtLeftBracket(const char* tokenEnd) const {
  // The earliest left bracket of any pair wins, so that no pair's start is
  // hidden inside a token cut for a later one. A bracket at the token start
  // was already taken by the bracket rule, and one at its end needs no cut.
  const char* q = NextChar(tokenStart_);
  // Most tokens are a few bytes: a plain walk beats a library search there.
  if (singleLeftFirst_ >= 0 && tokenEnd - q >= 16) {
    const char* boundary = q;
    while (const char* candidate = FindByte(q, tokenEnd, static_cast<char>(singleLeftFirst_), boundary)) {
      if (LeftBracketAt(candidate)) return candidate;
      q = boundary = NextChar(candidate);
    }
    return tokenEnd;
  }
  for (; q < tokenEnd; q = NextChar(q)) {
    if (leftFirstBytes_.Has(Byte(q)) && LeftBracketAt(q)) return q;
  }
  return tokenEnd;
}

}  // namespace kerv
