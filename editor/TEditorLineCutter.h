#pragma once
// Cutting lines into rows no wider than the wrap width, by the Japanese
// line-break rules: characters that must not begin a row, characters that
// must not end one, punctuation that may hang past the width, and words of
// single-byte letters kept whole.

#include <bitset>
#include <cstring>
#include <memory>
#include <string_view>

#include "editor/TEditorAttributeArray.h"
#include "editor/TEditorColumnRules.h"
#include "editor/TEditorStringList.h"
#include "editor/TEditorWrapOption.h"


namespace kerv {

// The characters of an option string, for the "found in" test of the rules:
// a needle is found when its bytes occur in the string at a character boundary.
class TWrapCharSet {
 public:
  explicit TWrapCharSet(std::string_view chars);
  bool Contains(std::string_view character) const {
    if (character.size() == 1) return single_[static_cast<unsigned char>(character[0])];
    if (character.size() == 2) {
      return (*double_)[static_cast<size_t>(static_cast<unsigned char>(character[0])) << 8 |
                        static_cast<unsigned char>(character[1])];
    }
    return false;
  }

 private:
  std::bitset<256> single_;
  std::unique_ptr<std::bitset<65536>> double_;
};

// Appends the rows CutLine reports to a list being filled: copied into its
// fill block, or (adopted) as slices of the text the list took over.
class TWrapRowSink {
 public:
  explicit TWrapRowSink(TEditorStringList& rows, bool adopted = false) : rows_(rows), adopted_(adopted) {}
  void operator()(std::string_view row, int kind);
  // lastKind, when given, becomes the kind of the last row.
  void Finish(int lastKind = -1);

 private:
  TEditorStringList& rows_;
  bool adopted_;
};

class TEditorLineCutter {
 public:
  // The options and rules are read at construction; make a new cutter when they change.
  TEditorLineCutter(const TEditorWrapOption& options, const TEditorColumnRules& rules);
  TEditorLineCutter(const TEditorLineCutter&) = delete;
  TEditorLineCutter& operator=(const TEditorLineCutter&) = delete;

  // Clears rows and fills it with the rows of text: with word wrap off one row
  // per line, else every line cut by the rules. Every row is raCrlf or
  // raWrapped; the caller sets the kind of the last row.
  void StrToWrapList(std::string_view text, TEditorStringList& rows, bool wordWrap) const;
  // The number of rows cutting one line (no line break in it) produces.
  int WrapCount(std::string_view line, bool wordWrap) const;

  int WrapByte() const { return wrapByte_; }

  // Cuts one line (no line break in it), calling onRow(bytes, kind) for every
  // row in order; kind is raCrlf or raWrapped, or kLastRowEndsLine when the
  // last piece filled the width exactly and its row takes the line end.
  static constexpr int kLastRowEndsLine = -1;
  // Texts from this size on keep their rows' bytes in one shared block.
  static constexpr size_t kFillBlockBytes = 16384;
  template <typename OnRow>
  void CutLine(std::string_view line, OnRow&& onRow) const;

 private:
  int NextCut(TEditorAttributeArray& cursor) const;

  TEditorColumnRules rules_;
  int wrapByte_;
  bool followRetMark_;
  bool followPunctuation_;
  bool leading_;
  bool wordBreak_;
  TWrapCharSet followSet_;
  TWrapCharSet leadSet_;
  TWrapCharSet punctuationSet_;
  // Reused for every wide line; cutting runs on one thread.
  mutable TEditorAttributeArray cursor_;
};

template <typename OnRow>
void TEditorLineCutter::CutLine(std::string_view line, OnRow&& onRow) const {
  const int w = wrapByte_;
  // A narrow line without a tab is one row, without building the cursor.
  if (static_cast<int>(line.size()) < w && (line.empty() || std::memchr(line.data(), '\t', line.size()) == nullptr)) {
    onRow(line, raCrlf);
    return;
  }
  TEditorAttributeArray& cursor = cursor_;
  cursor.Reset(line);
  if (cursor.Length() < w) {
    onRow(line, raCrlf);
    return;
  }
  cursor.MoveTo(w);
  bool cutAny = false;
  while (cursor.Class() != kColEnd) {
    int bytes = NextCut(cursor);
    if (bytes > static_cast<int>(line.size())) bytes = static_cast<int>(line.size());
    onRow(line.substr(0, static_cast<size_t>(bytes)), raWrapped);
    cutAny = true;
    line.remove_prefix(static_cast<size_t>(bytes));
    // Tab stops of the next row count from its own first column.
    cursor.Reset(line);
    cursor.MoveTo(w);
  }
  if (!line.empty()) {
    onRow(line, raCrlf);
  } else if (cutAny && followRetMark_) {
    onRow(std::string_view(), kLastRowEndsLine);
  } else {
    onRow(std::string_view(), raCrlf);
  }
}

}  // namespace kerv
