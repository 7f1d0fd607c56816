#include "document/CharCode.h"

namespace kerv {
namespace {

// Indexed by the code's value; the status bar and kervtext read the same table.
constexpr const char* kCharCodeNames[] = {"ASCII", "Shift-JIS", "JIS", "EUC", "Unicode", "Unicode(BE)", "UTF-8", "UTF-8N"};
constexpr const char* kReturnCodeNames[] = {"none", "CRLF", "LF", "CR"};

}  // namespace

const char* CharCodeName(TCharCode code) {
  return code < sizeof kCharCodeNames / sizeof kCharCodeNames[0] ? kCharCodeNames[code] : "Binary";
}

const char* DetectionName(TCharCode code) {
  if (code == ccSJISOrEUC) return "Shift-JIS/EUC";
  if (code == ccJIS78 || code == ccJIS83) return "JIS";
  return CharCodeName(code);
}

const char* ReturnCodeName(TReturnCode code) {
  return code < sizeof kReturnCodeNames / sizeof kReturnCodeNames[0] ? kReturnCodeNames[code] : "none";
}

}  // namespace kerv
