#pragma once
// Every text the regular-expression engine shows, in one table.

namespace kerv {

enum class ERegexMessage {
  BadDoubleByteChar,       // the pattern ends with a lead byte
  NeedCharAfterBackslash,  // the pattern ends with "\"
  BadHexCode,              // "\x" without a hexadecimal digit
  BadOctalCode,            // an octal escape above 0xFFFF
  NeedRightBracket,        // a bracket expression is not closed
  BadCharRange,            // a range whose upper end is below its lower end
  BadCharClass,            // a bracket expression without an item
  NeedRightParen,          // a group is not closed
  NeedCharOrLeftParen,     // a primary is expected and another token stands there
  ExtraChars,              // tokens remain after the whole pattern was parsed
  NestingTooDeep,          // groups nested deeper than the parser allows
  TooComplex,              // the automaton would grow beyond its size limit
  ParseTreeFatal,          // internal: a leaf rewrite was given a missing part
  GenerateStateListFatal,  // internal: an unknown node kind reached the automaton builder
};

// The UTF-8 text of a message.
const char* RegexMessage(ERegexMessage id);

}  // namespace kerv
