#pragma once
// The numbering dialog's choices, their "Numbering" section of the settings
// file, the format string they make for InsertNumbers, and the preview.

#include <optional>
#include <string>
#include <string_view>

namespace kerv {

class TIniFile;

enum class TNumberAlignment : int {
  Left = 0,      // "左揃え": plain numbers
  Digits = 1,    // "桁を揃える": right-aligned to the widest number
  ZeroFill = 2,  // "桁を揃えて 0で埋める": zero-padded to the widest number
};

struct TNumberingOptions {
  static constexpr const char* kSection = "Numbering";
  static constexpr int kMinStartNumber = 0;
  static constexpr int kMaxStartNumber = 9999;
  static constexpr int kMaxStartNumberChars = 4;  // Edt_StartNum
  static constexpr int kMaxSeparatorChars = 10;   // Edt_SeparateStr
  static constexpr int kPreviewLines = 100;

  int startNumber = 1;
  std::string separateStr = ".";  // Shift_JIS, written literally after each number
  TNumberAlignment alignment = TNumberAlignment::Left;

  // Missing keys give the defaults; a stored start number outside 0-9999
  // reads as 1 and an unknown alignment as Left.
  static TNumberingOptions Read(const TIniFile& ini);
  // Stores the three values (when OK is accepted); the caller writes the file.
  void Write(TIniFile& ini) const;

  // The start number typed into the dialog, or nothing when it is not an
  // integer from 0 to 9999 (the dialog then shows InvalidStartNumber).
  static std::optional<int> ParseStartNumber(std::string_view text);

  // The InsertNumbers format: "%d", "%\td" or "%.\td" (TAB standing for the
  // widest number's digit count), then the separator with "%" doubled and
  // each TAB made a blank.
  std::string NumberFormat() const;
  // Numbers every line of text.
  std::string Apply(std::string_view text) const;

  // The preview's three lines (Shift_JIS): the first and the last numbered
  // line of a 100-line sample, and the ellipsis line between them.
  struct Preview {
    std::string firstLine, ellipsisLine, lastLine;
  };
  Preview MakePreview() const;
};

}  // namespace kerv
