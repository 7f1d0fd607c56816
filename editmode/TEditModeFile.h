#pragma once
// The edit-mode definition file (.em2): Shift_JIS text with CR LF lines, a
// header comment, a [Settings] block of keys, the colour sets, and the
// sections of reserved words and bracket pairs.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editmode/TEditorProp.h"

namespace kerv {

// What one colour set holds: a full set all three, a pair set the two
// colours, a single set the text colour only.
struct TColorSetValue {
  TColor color = clBlack;
  TColor bkColor = clWhite;
  TFontStyles style = 0;
  bool operator==(const TColorSetValue&) const = default;
};
enum class TColorSetShape { Full, Pair, Single };

class TEditModeFile {
 public:
  static constexpr const char* kHeaderLine = "// Quillmarker EditMode Definition File //";
  static constexpr const char* kFormatValue = "KervEditMode";
  static constexpr const char* kWrittenVersion = "2.6";
  static constexpr int kColorSetCount = 26;
  static constexpr int kMaxFontNameBytes = 31;

  // Reads a definition into set. False when the text is not an edit-mode
  // file; set is then unchanged. Damaged values take the reader's defaults,
  // so anything else loads.
  static bool Read(std::string_view text, TEditorPropEx& set);
  // The whole file for set; system colours are written as their value now.
  static std::string Write(const TEditorPropEx& set, TSystemColorResolver resolve = &DefaultSystemColorRgb);

  static TColorSetShape ColorSetShape(int colorSet);
  // The values colour set n (0..25) stores, from the set or into it (set 0
  // also gives its values to the Ank, DBCS and Symbol entries). What the
  // shape does not store is left alone.
  static TColorSetValue ColorSet(const TEditorPropEx& set, int colorSet);
  static void SetColorSet(TEditorPropEx& set, int colorSet, const TColorSetValue& value);

  // The lines of a text as edit-mode files and word lists read them: CR, LF
  // and CR LF each end a line, a break at the very end adds no empty line,
  // and a line's text ends at its first zero byte, as every text does.
  static std::vector<std::string_view> SplitLines(std::string_view text);
  // A number as the file writes it: decimal with an optional sign, or
  // hexadecimal after "0x", "0X" or "$"; blanks around it are ignored.
  // Nothing for text that is not one or does not fit 32 bits.
  static std::optional<long long> ParseNumber(std::string_view text);
  // A version "major.minor" in millionths (2.2 is 2200000); nothing when invalid.
  static std::optional<long long> ParseVersion(std::string_view text);
  // The first maxBytes bytes of name, never ending inside a double-byte character.
  static std::string CutAtCharBoundary(const std::string& name, size_t maxBytes);
};

}  // namespace kerv
