#include "print/HeaderText.h"

#include <cstdio>

namespace kerv {
namespace {

// H:MM:SS, the long time of the info bar's notices. Written here rather than
// taken from the backup unit, which would tie printing to the file manager.
std::string TimeText(const TKervLocalTime& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d:%02d", time.hour, time.minute, time.second);
  return text;
}

}  // namespace

std::string ExpandHeaderText(std::string_view text, int64_t pageNumber, std::string_view fileName,
                             const TKervLocalTime& now) {
  std::string out;
  out.reserve(text.size() + 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) break;
    switch (text[i]) {
      case 'p': out += std::to_string(pageNumber); break;
      case 'y': out += std::to_string(now.year); break;
      case 'm': out += std::to_string(now.month); break;
      case 'd': out += std::to_string(now.day); break;
      case 't': out += TimeText(now); break;
      case 'f': out += fileName; break;
      case 'F': {
        // '/' is never the second byte of a double-byte character.
        const size_t slash = fileName.rfind('/');
        out += slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
        break;
      }
      default: out += text[i]; break;
    }
  }
  return out;
}

}  // namespace kerv
