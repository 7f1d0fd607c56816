#pragma once
// A free-standing list of rows: the document's row store derives from it, and
// wrapping results and undo snapshots are of this type. Rows never hold CR or
// LF; the row kind says what follows each one.

#include <functional>
#include <string>
#include <string_view>

#include "editor/TByteStream.h"
#include "editor/TPointerStringList.h"

namespace kerv {

class TEditorStringList : public TPointerStringList {
 public:
  // Rows first..first+count-1 joined, CR LF after every raCrlf row.
  std::string GetRangeText(int firstRow, int rowCount) const;
  // The whole text: every row, CR LF after every raCrlf row.
  std::string GetText() const { return GetRangeText(0, Count()); }

  // Replaces the rows by the lines of text, each of kind raCrlf (so a text
  // without a final line break still ends with a line break).
  void SetText(std::string_view text);

  // Replaces the rows by the lines of a Shift_JIS byte stream whose returns
  // may be CR LF, CR or LF. Reads in blocks of kLoadBlockBytes: once to
  // count, once to fill. Bytes 0x1A that run to the end of the stream are a
  // DOS end-of-file mark and are dropped; any other 0x1A is text.
  void LoadFromStream(IByteStream& stream);
  static constexpr size_t kLoadBlockBytes = 8192;

  // Replaces the rows by the lines of text, read as LoadFromStream reads a
  // stream, keeping text's bytes as the rows' own instead of copying them.
  // onLine receives each line (without its break) and appends its rows with
  // AppendAdopted; a last line without a line break ends in a raEof row.
  // Returns false when the progress gave the load up: the list is then empty.
  bool AdoptText(std::string&& text, const std::function<void(std::string_view line)>& onLine);

  // Told how far AdoptText has come, in thousandths of the text, every few
  // megabytes; it answers false to give the load up. Empty: nobody is told.
  using TAdoptProgress = std::function<bool(int permille)>;
  void SetAdoptProgress(TAdoptProgress progress) { adoptProgress_ = std::move(progress); }
  const TAdoptProgress& AdoptProgress() const { return adoptProgress_; }

 private:
  TAdoptProgress adoptProgress_;
};

// Splits text into lines the way every line-oriented reader here does: a line
// ends at CR, LF or CR LF, the text ends at its end or at a NUL byte, a
// leading line break gives an empty first line and a final one adds none.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine onLine) {
  size_t pos = 0;
  const size_t size = text.size();
  while (pos < size) {
    size_t end = pos;
    while (end < size && text[end] != '\r' && text[end] != '\n' && text[end] != '\0') ++end;
    onLine(text.substr(pos, end - pos));
    if (end >= size || text[end] == '\0') return;
    if (text[end] == '\r') ++end;
    if (end < size && text[end] == '\n') ++end;
    pos = end;
  }
}

}  // namespace kerv
