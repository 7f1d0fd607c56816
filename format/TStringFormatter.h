#pragma once
// The text formatter: every formatting command of the editor as a pure
// function from the selected text (Shift_JIS, CR LF between lines) and its
// options to the text that replaces the selection. The class holds no state;
// the format command may create one per command or call the operations
// directly.
//
// Characters are stepped with SjisCharBytes: no operation splits a double-byte
// character, and a trail byte 0x5C or 0x7C is never taken for "\" or "|".
// Lines end at CR LF, and also at a lone CR or LF, whose bytes are kept.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kerv {

class ITextCollator;

// ToZenkaku's handling of kana.
enum class TZenkakuMode : int {
  Plain = 0,     // half-width kana become katakana; full-width kana stay
  Katakana = 1,  // also hiragana become katakana (う゛ becomes ヴ)
  Hiragana = 2,  // half-width kana and katakana become hiragana (ヴ becomes う゛)
};

// The kinds of characters the type-format operations convert or delete.
using TTypeFlags = uint16_t;
namespace TypeFlag {
constexpr TTypeFlags ELow = 0x0002;   // Latin lower case, both widths
constexpr TTypeFlags EUpp = 0x0004;   // Latin upper case, both widths, and the blanks
constexpr TTypeFlags Num = 0x0008;    // digits, both widths
constexpr TTypeFlags Kata = 0x0010;   // katakana, voiced katakana, half-width kana and pairs
constexpr TTypeFlags Kana = 0x0020;   // hiragana, plain and voiced
constexpr TTypeFlags Sym = 0x0040;    // the 40 symbols, both widths
constexpr TTypeFlags Space = 0x0080;  // the blank and the full-width blank
constexpr TTypeFlags Tab = 0x0100;    // TAB (deleting only)
constexpr TTypeFlags Ret = 0x0200;    // CR LF (deleting only)
}  // namespace TypeFlag

class TStringFormatter {
 public:
  // ---- Character conversions (the selection keeps its extent) ----

  // Case of the ASCII letters, the full-width Latin, Greek and Cyrillic
  // letters and the Roman numerals (ⅰ-ⅹ in either of their two codes become
  // the NEC Ⅰ-Ⅹ; those and the IBM Ⅰ-Ⅹ become the IBM ⅰ-ⅹ).
  static std::string ToUpper(std::string_view text);
  static std::string ToLower(std::string_view text);

  // Half-width characters to full width; kana by mode.
  static std::string ToZenkaku(std::string_view text, TZenkakuMode mode);
  // Full-width characters of the tables to half width (voiced kana to pairs).
  static std::string ToHankaku(std::string_view text);

  // The type-format operations. symbols: half-width symbols chosen one by
  // one; ignored while flags hold Sym.
  static std::string ToZenkakuByType(std::string_view text, std::string_view symbols, TTypeFlags flags);
  static std::string ToHankakuByType(std::string_view text, std::string_view symbols, TTypeFlags flags);
  static std::string DeleteByType(std::string_view text, std::string_view symbols, TTypeFlags flags);

  // Every TAB becomes widthInBlanks blanks (tab stops are not considered).
  static std::string TabToSpace(std::string_view text, int widthInBlanks);
  // In each run of blanks every widthInBlanks blanks become one TAB; the
  // remainder stays. A width below 1 leaves the text unchanged.
  static std::string SpaceToTab(std::string_view text, int widthInBlanks);

  // ---- Line formatting (on a selection widened with WidenSelectionToLines) ----

  // Line breaks in the text.
  static int CountLines(std::string_view text);

  // A TAB (or indentSizeInBlanks blanks) before every line; a line break that
  // ends the text starts no line. noIndentEmptyLine: empty lines get nothing.
  static std::string Indent(std::string_view text, bool noIndentEmptyLine);
  static std::string SpaceIndent(std::string_view text, bool noIndentEmptyLine, int indentSizeInBlanks);
  // One leading TAB off every line.
  static std::string Outdent(std::string_view text);
  // indentSizeInBlanks leading blanks off every line that has that many.
  static std::string SpaceOutdent(std::string_view text, int indentSizeInBlanks);

  // A number before every line, first startNumber. format: "%d"-style
  // conversions ("%", flags "-" and "0", width, "." precision, "d") and "%%";
  // any other text, and any other "%" sequence, is written as it stands, so a
  // user's text is never run as a printf format. Every TAB of the format is
  // first replaced by the digit count of the last number.
  static std::string InsertNumbers(std::string_view text, std::string_view format, int startNumber);
  // lead before every line (empty lines too); an empty lead changes nothing.
  static std::string InsertLeadString(std::string_view text, std::string_view lead);
  // foot before every line break and at the end of the text.
  static std::string AppendFootString(std::string_view text, std::string_view foot);
  // The first character of every non-empty line is removed.
  static std::string DeleteLeadChar(std::string_view text);
  // Lines of only blanks and TABs (or nothing) go with their line breaks.
  static std::string EraseEmptyLines(std::string_view text);

  static constexpr int kMinReturnCol = 2;
  static constexpr int kMaxReturnCol = 1000;
  // Breaks lines so no line holds more than returnCol bytes (a TAB counting
  // tabWidthInBlanks); a double-byte character is never split. returnCol is
  // clamped to kMinReturnCol..kMaxReturnCol and a break is never written on
  // an empty output line, so every character makes progress.
  static std::string ReturnAt(std::string_view text, int tabWidthInBlanks, int returnCol);
  // The column typed into the column question: an integer from
  // kMinReturnCol to kMaxReturnCol, or nothing (the question is asked again).
  static std::optional<int> ParseReturnCol(std::string_view text);

  // "<!--" and "-->" markers go, then everything from each "<" to the next
  // ">"; a "<" with no ">" after it stays with the rest of the text.
  static std::string EraseTags(std::string_view text);

  // Lines in ascending (descending) order of the collator; lines that compare
  // equal keep their order. The text ends with a line break exactly when it
  // did before; lines end with CR LF.
  static std::string SortLines(std::string_view text, const ITextCollator& collator);
  static std::string SortLines(std::string_view text);  // with DefaultTextCollator()
  static std::string ReverseSortLines(std::string_view text, const ITextCollator& collator);
  static std::string ReverseSortLines(std::string_view text);
};

}  // namespace kerv
