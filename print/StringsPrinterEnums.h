#pragma once
// The enumerations of the text printer; their ordinals are stored in
// kerv.ini and are the indices of the dialog's combo boxes.

#include <optional>

namespace kerv {

enum class TStringsPrinterHeaderAlign : int { haNone = 0, haLeft = 1, haCenter = 2, haRight = 3 };
enum class TStringsPrinterRangeOption : int { roWhole = 0, roLimited = 1 };
enum class TStringsPrinterPageOption : int { poBoth = 0, poOdd = 1, poEven = 2 };

// The alignment of a combo index or stored value; nothing outside 0..3.
inline std::optional<TStringsPrinterHeaderAlign> HeaderAlignFromIndex(int index) {
  if (index < 0 || index > 3) return std::nullopt;
  return static_cast<TStringsPrinterHeaderAlign>(index);
}

}  // namespace kerv
