#pragma once
// Turns a pattern into tokens, character by character.

#include <cstdint>
#include <string>

namespace kerv {

enum TRETokenType : uint8_t {
  retkChar = 0,     // an ordinary character or an escape
  retkRange = 1,    // inside brackets: x-y
  retkUnion = 2,    // |
  retkLPar = 3,     // (
  retkRPar = 4,     // )
  retkStar = 5,     // *
  retkPlus = 6,     // +
  retkQuest = 7,    // ?
  retkLBra = 8,     // [
  retkNegLBra = 9,  // [^
  retkRBra = 10,    // ]
  retkDot = 11,     // .
  retkLHead = 12,   // ^
  retkLTail = 13,   // $
  retkEnd = 14,     // end of the pattern
};

class TREScanner {
 public:
  explicit TREScanner(std::string pattern = {});

  // Back to position 1 and outside brackets, whatever the last scan left.
  void SetRegExp(std::string pattern);
  const std::string& RegExp() const { return pattern_; }

  // Reads the next token; raises ERegExpParser on a syntax error.
  TRETokenType GetToken();

  TRETokenType Token() const { return token_; }
  uint16_t Code() const { return code_; }              // the character, or the range's low end
  uint16_t UpperBound() const { return upperBound_; }  // the range's high end
  int Position() const { return position_; }           // 1-based, of the next character to read
  bool InBracket() const { return inBracket_; }

 private:
  bool ReadChar(uint16_t& code);
  void StepBack();
  uint16_t ReadEscape();
  [[noreturn]] void NeedRightBracket() const;

  std::string pattern_;
  int position_ = 1;
  TRETokenType token_ = retkEnd;
  uint16_t code_ = 0;
  uint16_t upperBound_ = 0;
  bool inBracket_ = false;
};

}  // namespace kerv
