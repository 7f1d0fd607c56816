#pragma once
// The texts of the status bar, the info bar and the counters, built from the
// document's state. Results are UTF-8 unless a function says Shift_JIS.

#include <cstdint>
#include <string>
#include <string_view>

namespace kerv {

// "12行: 5桁".
std::string CaretPosText(int line, int col);
// The status-bar names of a character code ("Binary" for anything unknown)
// and of a return code ("CRLF" for anything unknown).
const char* StatusCodeName(int charCode);
const char* StatusReturnName(int returnCode);
// "1,234,567".
std::string WithThousands(int64_t value);

// Characters of Shift_JIS text, a double-byte character counting one.
int64_t CountCharacters(std::string_view sjis);

struct TKervCharCount {
  std::string characters;  // "総文字数：1,234文字"
  std::string bytes;       // "総バイト数：2,345バイト (約2KB)"
};
// The character counter of the whole text (CR LF between lines); LF and CR
// documents count one byte and one character per line break.
TKervCharCount CharCountTexts(std::string_view sjis, int returnCode);

// The hexadecimal codes of a selection: its first 10 bytes, 11 when the tenth
// begins a double-byte character or is a CR; "XX " per byte.
std::string AsciiCodeText(std::string_view sjisSelection);

// The clipboard notice's body in Shift_JIS: the first 70 bytes (never half a
// character), "..." from 50 bytes on, each CR LF a blank. "n" is the length.
std::string ClipboardNoticeBody(std::string_view sjisClipboard);

// " 12Byte / 6文字選択".
std::string SelectionSizeText(int64_t bytes, int64_t characters);

// The go-to-line prompt "移動先の行を指定してください(1～25)".
std::string JumpToPrompt(int firstLine, int lastLine);

}  // namespace kerv
