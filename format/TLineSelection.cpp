#include "format/TLineSelection.h"

#include <algorithm>
#include <vector>

namespace kerv {

TWidenedLines WidenSelectionToLines(const TLineSelection& selection) {
  TWidenedLines widened{selection.startLine, std::max(selection.startLine, selection.endLine), false};
  bool endAtLineStart = selection.endByteInLine <= 0 && selection.endLine > selection.startLine;
  if (!endAtLineStart) return widened;
  widened.endLine = selection.endLine - 1;
  // An end after the document's last line break keeps that break.
  widened.withFinalBreak = selection.endLine == selection.lastLine && selection.lastLineEmpty;
  return widened;
}

TByteSelection WidenSelectionToLines(std::string_view text, TByteSelection selection) {
  const size_t n = text.size();
  // Line starts and the end of each line's text (before its line break).
  std::vector<size_t> lineStart{0}, lineEnd;
  for (size_t i = 0; i < n; ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lineEnd.push_back(i);
    if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    lineStart.push_back(i + 1);
  }
  lineEnd.push_back(n);
  auto lineOf = [&](size_t byteIndex) {
    return static_cast<int>(std::upper_bound(lineStart.begin(), lineStart.end(), byteIndex) - lineStart.begin() - 1);
  };
  size_t startByte = std::min(selection.startByte, n);
  size_t endByte = std::min(n, startByte + std::min(selection.lengthInBytes, n - startByte));
  TLineSelection lines;
  lines.startLine = lineOf(startByte);
  lines.endLine = lineOf(endByte);
  lines.endByteInLine = static_cast<int>(endByte - lineStart[static_cast<size_t>(lines.endLine)]);
  lines.lastLine = static_cast<int>(lineStart.size()) - 1;
  lines.lastLineEmpty = lineStart.back() == n && lines.lastLine > 0;
  TWidenedLines widened = WidenSelectionToLines(lines);
  size_t from = lineStart[static_cast<size_t>(widened.startLine)];
  size_t to = widened.withFinalBreak ? n : lineEnd[static_cast<size_t>(widened.endLine)];
  return {from, to - from};
}

}  // namespace kerv
