#pragma once
// Character codes and return codes of documents, and the names the status
// bar and the command-line companion show for them.

#include <cstdint>

namespace kerv {

// One byte: 0-7 are codes a document can have; 8-11 only come out of
// detection and 12 asks for it. Other values may arrive from settings and
// must be tolerated.
enum TCharCode : uint8_t {
  ccAscii = 0,      // nothing decided; read and written as is
  ccShiftJIS = 1,
  ccJIS = 2,        // 7-bit code with escape sequences
  ccEUC = 3,
  ccUnicode = 4,    // UTF-16 little-endian with mark FF FE
  ccUnicodeBE = 5,  // UTF-16 big-endian with mark FE FF
  ccUTF8 = 6,       // UTF-8 with mark EF BB BF
  ccUTF8N = 7,      // UTF-8 without mark
  ccSJISOrEUC = 8,  // detection: both possible
  ccJIS78 = 9,      // detection: ESC $ @ seen
  ccJIS83 = 10,     // detection: ESC $ B seen
  ccBinary = 11,    // control bytes found; read as is
  ccAuto = 12,      // request: detect the code
};

enum TReturnCode : uint8_t {
  rcNone = 0,  // no return found; a document is given rcCRLF instead
  rcCRLF = 1,
  rcLF = 2,
  rcCR = 3,
};

// Status-bar text: "ASCII" ... "UTF-8N" for 0-7, "Binary" for every other value.
const char* CharCodeName(TCharCode code);
// As CharCodeName, but names the undecided detection results: 8 is
// "Shift-JIS/EUC", 9 and 10 are "JIS".
const char* DetectionName(TCharCode code);
// "CRLF", "LF", "CR"; "none" for rcNone and values out of range.
const char* ReturnCodeName(TReturnCode code);

}  // namespace kerv
