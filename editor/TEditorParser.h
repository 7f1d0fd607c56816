#pragma once
// The attribute parser: cuts one row of Shift_JIS text into tokens whose
// kinds select the painter's colours, and carries the bracket state (inside
// which multi-row bracket pair the text is) from the start of a row to its end.
//
// A parser is short-lived: made for one row (or a row with neighbouring text),
// looped until tkEnd, then dropped or restarted on the next row. It reads the
// text in place and never past its end: scanning stops at the given length or
// at the first NUL, CR or LF.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace kerv {

class TEditorViewInfo;
class TEditorBracketCollection;
class TEditorColor;

// The values are those of Token(); 5, 10 and 13 are never produced.
enum TTokenKind : int {
  tkEnd = 0,
  tkSymbol = 1,
  tkString = 2,
  tkInteger = 3,
  tkReal = 4,
  tkBracket = 6,
  tkComment = 7,
  tkWord = 8,
  tkTab = 9,
  tkWideSymbol = 11,
  tkWideDigits = 12,
  tkWideLetters = 14,
  tkHiragana = 15,
  tkKatakana = 16,
  tkKanji = 17,
  tkHalfKanaSymbol = 18,
  tkHalfKana = 19,
  tkUrl = 20,
  tkMail = 21,
};

// "tkWord" for tkWord; "tk?" for a value that is not a kind.
const char* TokenKindName(int kind);

// Whether a token of this kind is painted as a reserved word when its text is
// one (symbols, words, links and the double-byte and half-width kana kinds).
bool MayBeReserveWord(TTokenKind kind);

// The colour entry a token of this kind is painted with: tkBracket takes the
// ItemColor of pair bracketIndex. Null for tkTab, tkEnd and a bracket index
// that names no pair: the text is then painted in the plain colours.
const TEditorColor* TokenColor(const TEditorViewInfo& viewInfo, TTokenKind kind, int bracketIndex);

// Bracket states: inside pair n (0..49) is n.
constexpr int kBracketNotComputed = -2;
constexpr int kBracketNone = -1;

class TEditorParser;

// How an editor chooses its parser class: it hands out a creator, and the row
// store and the painter create every parser through it.
using TEditorParserFactory = std::unique_ptr<TEditorParser> (*)(const char* text, size_t length, int startState,
                                                                 const TEditorViewInfo* viewInfo);

template <typename TParser>
std::unique_ptr<TEditorParser> CreateEditorParser(const char* text, size_t length, int startState,
                                                  const TEditorViewInfo* viewInfo) {
  return std::make_unique<TParser>(text, length, startState, viewInfo);
}

class TEditorParser {
 public:
  // No view options: bracket state 0 and none of the rules that need them.
  TEditorParser(const char* text, size_t length);
  explicit TEditorParser(std::string_view text) : TEditorParser(text.data(), text.size()) {}
  // viewInfo may be null (no editor). A start state beyond the pairs that
  // exist counts as outside any bracket.
  TEditorParser(const char* text, size_t length, int startState, const TEditorViewInfo* viewInfo);
  TEditorParser(std::string_view text, int startState, const TEditorViewInfo* viewInfo)
      : TEditorParser(text.data(), text.size(), startState, viewInfo) {}
  virtual ~TEditorParser() = default;
  TEditorParser(const TEditorParser&) = delete;
  TEditorParser& operator=(const TEditorParser&) = delete;

  static std::unique_ptr<TEditorParser> Create(const char* text, size_t length, int startState,
                                               const TEditorViewInfo* viewInfo) {
    return CreateEditorParser<TEditorParser>(text, length, startState, viewInfo);
  }

  // Points the parser at another text and start state and scans its first
  // token, as a new parser with the same view options would: a walk over
  // many rows reuses one parser instead of reading the options again for
  // each. A derived class that keeps state of its own per text resets it here.
  virtual void Restart(const char* text, size_t length, int startState);

  // Advances over the blanks before a token: 0x01-0x08 and 0x0A-0x20.
  virtual void SkipBlanks();
  // Scans the next token; at the end of the text the token stays tkEnd.
  virtual void NextToken();

  TTokenKind Token() const { return token_; }
  std::string TokenString() const { return std::string(tokenStart_, position_); }
  std::string_view TokenView() const {
    return std::string_view(tokenStart_, static_cast<size_t>(position_ - tokenStart_));
  }
  int TokenPos() const { return static_cast<int>(tokenStart_ - start_); }     // 0-based byte index
  int TokenLength() const { return static_cast<int>(position_ - tokenStart_); }
  int Position() const { return static_cast<int>(position_ - start_); }       // 0-based, where scanning resumes
  int BracketState() const { return bracketState_; }
  // The pair of the last tkBracket token, -2 before the first.
  int BracketIndex() const { return bracketIndex_; }
  const TEditorViewInfo* ViewInfo() const { return viewInfo_; }

 protected:
  // A derived class constructs its base with this tag and calls NextToken in
  // its own constructor body, so the first token is scanned with its own
  // SkipBlanks (a base constructor cannot reach the derived override).
  struct Deferred {};
  TEditorParser(Deferred, const char* text, size_t length, int startState, const TEditorViewInfo* viewInfo);

  const char* start_;
  const char* end_;  // the first NUL, CR or LF, or start_ + length
  const char* tokenStart_;
  const char* position_;

 private:
  // A token found by a scan: where it ends and its kind (end null: none).
  struct Scanned {
    const char* end;
    TTokenKind kind;
    bool byRule;  // made by a view-option rule, not by the first-byte classes
  };
  // The text and start state, before the first token is scanned.
  void SetText(const char* text, size_t length, int startState);
  // Brings a start state into the range of the pairs (with view options only).
  void ClampState();
  Scanned ScanViewRule(const char* p);
  Scanned ScanToken(const char* p, uint8_t byteClass) const;
  const char* RunOf(const char* q, uint8_t flag) const;
  const char* ScanRightBracket(const char* p, int pairIndex);
  const char* ScanMail(const char* p);
  const char* CutAtLeftBracket(const char* tokenEnd) const;
  bool LeftBracketAt(const char* q) const;
  const char* FindByte(const char* from, const char* limit, char b, const char*& boundary) const;
  const char* WalkTo(const char* boundary, const char* target) const;
  // One character on: two bytes after a lead byte unless the text ends after it.
  const char* NextChar(const char* p) const {
    return IsLeadByte(static_cast<unsigned char>(*p)) && p + 1 < end_ ? p + 2 : p + 1;
  }
  // Bracket and prefix strings are short: compared in place, first byte first.
  bool Matches(const char* p, std::string_view s) const {
    if (static_cast<size_t>(end_ - p) < s.size()) return false;
    for (size_t i = 0; i < s.size(); ++i) {
      if (p[i] != s[i]) return false;
    }
    return true;
  }

  struct ByteSet {
    uint64_t bits[4] = {0, 0, 0, 0};
    void Add(unsigned char b) { bits[b >> 6] |= uint64_t{1} << (b & 63); }
    bool Has(unsigned char b) const { return (bits[b >> 6] >> (b & 63)) & 1u; }
  };

  TTokenKind token_ = tkEnd;
  int bracketState_;
  int bracketIndex_ = kBracketNotComputed;

  // What the view options say, read once per parser.
  const TEditorViewInfo* viewInfo_;
  const TEditorBracketCollection* brackets_ = nullptr;
  int bracketCount_ = 0;
  ByteSet leftFirstBytes_;  // first bytes of the non-empty left brackets
  // The class of every first byte; with view options, bytes at which some
  // rule may start get a class of their own, so one dispatch decides.
  const uint8_t* byteClasses_;
  uint8_t ruleClasses_[256];
  // Bit k: a token of kind k from the first-byte rules may hold the start of
  // a left bracket past its first character.
  uint32_t cutKinds_ = 0;
  bool hasLeftBrackets_ = false;
  int singleLeftFirst_ = -1;  // the one first byte all left brackets share, or -1
  std::string_view commenter_;
  std::string_view hexPrefix_;
  int quote_ = -1;
  bool mail_ = false;
  bool url_ = false;
  bool controlCode_ = false;

  // The last run of mail-set bytes examined, so that token starts inside one
  // run do not scan it again: its end, its last '.', the next '@' seen.
  const char* mailRunEnd_ = nullptr;
  const char* mailLastDot_ = nullptr;
  const char* mailNextAt_ = nullptr;
};

}  // namespace kerv
