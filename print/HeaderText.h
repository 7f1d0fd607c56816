#pragma once
// The variables of the header and footer texts.

#include <cstdint>
#include <string>
#include <string_view>

#include "document/TKervFilePorts.h"

namespace kerv {

// Copies text byte by byte, replacing "%" and the byte after it: %p the page
// number, %y the year, %m the month and %d the day (no leading zeros), %t
// the time as H:MM:SS, %F the file name after the last "/", %f the whole
// file name, "%" and any other byte that byte ("%%" gives "%"). A "%" that
// ends the text gives nothing. fileName is in the text's code (Shift_JIS).
std::string ExpandHeaderText(std::string_view text, int64_t pageNumber, std::string_view fileName,
                             const TKervLocalTime& now);

}  // namespace kerv
