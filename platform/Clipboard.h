#pragma once
// The system clipboard and the primary selection as the editor sees them.
// Text crosses this interface in the internal code page (Shift_JIS, CR LF
// line breaks); the platform half converts to and from what other programs
// read. A box (column) text rides as a kind of our own next to the plain
// text, so our windows paste it as a box and other programs see lines.

#include <cstddef>
#include <string>
#include <string_view>

namespace kerv {

// Text read from the clipboard or the primary selection.
struct TClipboardText {
  std::string text;      // Shift_JIS, CR LF line breaks
  bool box = false;      // put there by one of our windows as a box
  size_t replaced = 0;   // characters Shift_JIS cannot hold, each now "?"
};

// Text from outside with every line break (CR LF, a lone CR or a lone LF)
// as CR LF, the internal form, and cut at a NUL byte, where internal texts end.
inline std::string CrLfLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\0') break;
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

class IClipboard {
 public:
  virtual ~IClipboard() = default;

  // Replaces the clipboard's contents with text; box also marks it as a box.
  virtual void SetText(std::string_view text, bool box) = 0;
  // Whether the clipboard holds text (of ours or of another program).
  virtual bool HasText() const = 0;
  // Whether the clipboard's text carries our box kind.
  virtual bool HasBox() const = 0;
  // The clipboard's text; empty when it holds none.
  virtual TClipboardText Text() const = 0;
  // Leaves an empty text (and no box kind) on the clipboard.
  virtual void Clear() = 0;

  // The primary selection (X11 and Wayland): what was selected last, pasted
  // with the middle button. Platforms without one ignore the set and read "".
  virtual void SetPrimaryText(std::string_view text) = 0;
  virtual TClipboardText PrimaryText() const = 0;
};

}  // namespace kerv
