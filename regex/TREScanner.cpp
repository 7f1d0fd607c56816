#include "regex/TREScanner.h"

#include "regex/ERegExpParser.h"
#include "regex/RECharacter.h"

namespace kerv {

TREScanner::TREScanner(std::string pattern) { SetRegExp(std::move(pattern)); }

void TREScanner::SetRegExp(std::string pattern) {
  pattern_ = std::move(pattern);
  position_ = 1;
  token_ = retkEnd;
  code_ = 0;
  upperBound_ = 0;
  inBracket_ = false;
}

bool TREScanner::ReadChar(uint16_t& code) { return REReadChar(pattern_, position_, code); }

void TREScanner::StepBack() { position_ = REPrevCharPosition(pattern_, position_); }

void TREScanner::NeedRightBracket() const { throw ERegExpParser(ERegexMessage::NeedRightBracket, position_); }

uint16_t TREScanner::ReadEscape() {
  uint16_t c = 0;
  if (!ReadChar(c)) throw ERegExpParser(ERegexMessage::NeedCharAfterBackslash, position_);
  switch (c) {
    case 'b': return 8;
    case 'n': return 10;
    case 'r': return 13;
    case 't': return 9;
    case 'x': {
      uint32_t value = 0;
      int digits = 0;
      uint16_t d = 0;
      while (digits < 4 && ReadChar(d)) {
        int digit = -1;
        if (d >= '0' && d <= '9') digit = d - '0';
        else if (d >= 'A' && d <= 'F') digit = d - 'A' + 10;
        else if (d >= 'a' && d <= 'f') digit = d - 'a' + 10;
        if (digit < 0) {
          StepBack();
          break;
        }
        value = value * 16 + static_cast<uint32_t>(digit);
        ++digits;
      }
      if (digits == 0) throw ERegExpParser(ERegexMessage::BadHexCode, position_);
      return static_cast<uint16_t>(value);
    }
    default:
      break;
  }
  if (c >= '0' && c <= '7') {
    uint32_t value = c - '0';
    int digits = 1;
    uint16_t d = 0;
    while (digits < 6 && ReadChar(d)) {
      if (d < '0' || d > '7') {
        StepBack();
        break;
      }
      value = value * 8 + (d - '0');
      ++digits;
    }
    if (value > 0xFFFF) throw ERegExpParser(ERegexMessage::BadOctalCode, position_);
    return static_cast<uint16_t>(value);
  }
  return c;
}

TRETokenType TREScanner::GetToken() {
  uint16_t c = 0;
  if (!inBracket_) {
    if (!ReadChar(c)) return token_ = retkEnd;
    code_ = c;
    switch (c) {
      case '$': return token_ = retkLTail;
      case '(': return token_ = retkLPar;
      case ')': return token_ = retkRPar;
      case '*': return token_ = retkStar;
      case '+': return token_ = retkPlus;
      case '.': return token_ = retkDot;
      case '?': return token_ = retkQuest;
      case ']': return token_ = retkRBra;
      case '^': return token_ = retkLHead;
      case '|': return token_ = retkUnion;
      case '[': {
        uint16_t next = 0;
        if (!ReadChar(next)) NeedRightBracket();
        inBracket_ = true;
        if (next == '^') return token_ = retkNegLBra;
        StepBack();
        return token_ = retkLBra;
      }
      case '\\':
        code_ = ReadEscape();
        return token_ = retkChar;
      default:
        return token_ = retkChar;
    }
  }

  // Inside brackets. A "]" closes the class even directly after "[" or "[^".
  if (!ReadChar(c)) NeedRightBracket();
  if (c == ']') {
    inBracket_ = false;
    code_ = c;
    return token_ = retkRBra;
  }
  uint16_t a = c;
  if (c == '\\') a = ReadEscape();
  uint16_t b = 0;
  if (!ReadChar(b)) NeedRightBracket();
  if (b == '-') {
    uint16_t rawC = 0;
    if (!ReadChar(rawC)) NeedRightBracket();
    if (rawC == ']') {
      // "a-]": a alone; the hyphen is read again as a character of its own.
      StepBack();
      StepBack();
      code_ = a;
      return token_ = retkChar;
    }
    uint16_t high = rawC == '\\' ? ReadEscape() : rawC;
    if (high < a) throw ERegExpParser(ERegexMessage::BadCharRange, position_);
    code_ = a;
    upperBound_ = high;
    return token_ = retkRange;
  }
  StepBack();
  code_ = a;
  return token_ = retkChar;
}

}  // namespace kerv
