#include "editor/TStrings.h"

#include "editor/TEditorStringList.h"

namespace kerv {

std::string TStrings::GetTextStr() const {
  std::string text;
  for (int i = 0; i < GetCount(); ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetTextStr(std::string_view text) {
  TStringsUpdate batch(*this);
  Clear();
  ForEachLine(text, [&](std::string_view line) { Add(line); });
}

}  // namespace kerv
