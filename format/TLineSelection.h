#pragma once
// The line commands first widen the selection to whole lines. The rule as a
// pure function, for the editor manager to apply to the active pane.

#include <cstddef>
#include <string_view>

namespace kerv {

// A selection in line terms (lines as the text's line breaks cut it; the
// start of a wrapped row inside a line is not a line start).
struct TLineSelection {
  int startLine = 0;      // 0-based line holding the selection start
  int endLine = 0;        // 0-based line holding the selection end
  int endByteInLine = 0;  // 0-based byte offset of the end within endLine
  int lastLine = 0;       // 0-based index of the document's last line (it has no line break)
  bool lastLineEmpty = false;  // the document ends with a line break
};

// The widened selection: from byte 0 of startLine to the end of endLine
// without its line break, or, with withFinalBreak, to the end of the
// document, keeping the line break that ends it.
struct TWidenedLines {
  int startLine = 0;
  int endLine = 0;
  bool withFinalBreak = false;
  bool operator==(const TWidenedLines&) const = default;
};

// A selection that ends at the start of a line (and holds more than that
// point) does not take in that line; one that reaches past the document's
// last line break keeps it.
TWidenedLines WidenSelectionToLines(const TLineSelection& selection);

// The same rule on a whole text (CR LF, or lone CR or LF, between lines) and
// a selection by byte offsets. Offsets beyond the text are clamped.
struct TByteSelection {
  size_t startByte = 0;
  size_t lengthInBytes = 0;
  bool operator==(const TByteSelection&) const = default;
};
TByteSelection WidenSelectionToLines(std::string_view text, TByteSelection selection);

}  // namespace kerv
