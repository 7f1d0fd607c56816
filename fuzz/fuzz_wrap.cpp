// Line cutting on random bytes with random options: every row count agrees
// with the rows made, and the rows of a line join back into the line.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "editor/TEditorLineCutter.h"

using namespace kerv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  TEditorWrapOption options;
  options.SetWrapByte(data[0] * 2);  // clamped to 20..500
  uint8_t flags = data[1];
  options.SetLeading(flags & 1);
  options.SetFollowPunctuation(flags & 2);
  options.SetWordBreak(flags & 4);
  options.SetFollowRetMark(flags & 8);
  if (flags & 16) options.SetLeadStr(" (\x81");  // option strings that end in a lone lead byte
  if (flags & 32) options.SetFollowStr("a\x82\xA0\t");
  if (flags & 64) options.SetPunctuationStr("");
  TEditorColumnRules rules;
  rules.SetTabWidth(1 + data[2] % 8);
  std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);

  TEditorLineCutter cutter(options, rules);
  TEditorStringList rows;
  cutter.StrToWrapList(text, rows, true);
  int row = 0;
  ForEachLine(text, [&](std::string_view line) {
    int count = cutter.WrapCount(line, true);
    std::string joined;
    for (int i = 0; i < count; ++i) {
      if (row + i >= rows.Count()) std::abort();
      std::string_view piece = rows.Get(row + i);
      // Only the last row of a line is not raWrapped, and no row holds a line break.
      bool last = i + 1 == count;
      if ((rows.RowAttribute(row + i) == raWrapped) == last) std::abort();
      if (piece.find_first_of("\r\n") != std::string_view::npos) std::abort();
      joined += piece;
    }
    if (joined != line) std::abort();
    row += count;
  });
  if (row != rows.Count() && !(text.empty() && rows.Count() == 1)) std::abort();
  return 0;
}
