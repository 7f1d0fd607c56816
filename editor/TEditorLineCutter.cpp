#include "editor/TEditorLineCutter.h"

#include "platform/CodePage.h"

namespace kerv {

TWrapCharSet::TWrapCharSet(std::string_view chars) : double_(std::make_unique<std::bitset<65536>>()) {
  for (size_t i = 0; i < chars.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(chars[i]);
    // A one-byte needle also matches the first byte of a double-byte character.
    single_.set(b);
    if (IsLeadByte(b) && i + 1 < chars.size()) {
      double_->set(static_cast<size_t>(b) << 8 | static_cast<unsigned char>(chars[i + 1]));
      ++i;
    }
  }
}

TEditorLineCutter::TEditorLineCutter(const TEditorWrapOption& options, const TEditorColumnRules& rules)
    : rules_(rules),
      wrapByte_(options.WrapByte()),
      followRetMark_(options.FollowRetMark()),
      followPunctuation_(options.FollowPunctuation()),
      leading_(options.Leading()),
      wordBreak_(options.WordBreak()),
      followSet_(options.FollowStr()),
      leadSet_(options.LeadStr()),
      punctuationSet_(options.PunctuationStr()),
      // Every move of the rules stays within a few columns past W.
      cursor_(rules_, options.WrapByte() + 16) {
  // Cut rows are always measured with the tab rule of word wrap.
  rules_.SetWrap(true, wrapByte_);
}

// Where to cut the row the cursor stands in (the cursor is on column W):
// returns the number of bytes that go into the row.
int TEditorLineCutter::NextCut(TEditorAttributeArray& cursor) const {
  const int w = wrapByte_;
  if (cursor.Class() == kColLead) {
    // The cut would split a double-byte character: it moves to the next row.
    cursor.PreviousColumn();
  } else if (wordBreak_ && cursor.Length() > w) {
    while (cursor.Class() != kColDelimiter && cursor.Class() != kColTabFill && cursor.Class() != kColTrail &&
           cursor.Column() > w / 3) {
      cursor.PreviousChar();
    }
  }
  if (followPunctuation_) {
    while (cursor.Column() < w + 2 && punctuationSet_.Contains(cursor.NextCharText())) cursor.NextChar();
  }
  if (leading_ && cursor.Column() < cursor.Length()) {
    const int floor = w / 5 * 4;
    while (cursor.Column() > floor && leadSet_.Contains(cursor.CharText())) cursor.PreviousChar();
    if (cursor.Column() + 1 < cursor.Length()) {
      std::string_view next = cursor.NextCharText();
      std::string_view here = cursor.CharText();
      if (followSet_.Contains(next)) {
        while (cursor.Column() > floor && (leadSet_.Contains(here) || followSet_.Contains(next))) {
          cursor.PreviousChar();
          next = here;
          here = cursor.CharText();
        }
      }
    }
  }
  return cursor.ByteIndex();
}

void TWrapRowSink::operator()(std::string_view row, int kind) {
  if (kind == TEditorLineCutter::kLastRowEndsLine) {
    rows_.SetLastRowAttribute(raCrlf);
    return;
  }
  if (adopted_) {
    rows_.AppendAdopted(row, static_cast<uint32_t>(kind));
  } else {
    rows_.AppendFill(row, static_cast<uint32_t>(kind));
  }
}

void TWrapRowSink::Finish(int lastKind) {
  if (lastKind >= 0) rows_.SetLastRowAttribute(static_cast<TRowAttribute>(lastKind));
}

void TEditorLineCutter::StrToWrapList(std::string_view text, TEditorStringList& rows, bool wordWrap) const {
  rows.Clear();
  if (text.empty()) {
    rows.Add(std::string_view());
    return;
  }
  // The rows' bytes are the text's without its line breaks: a big text puts
  // them all in one block, a small one (a typed character) row by row.
  if (text.size() >= kFillBlockBytes) rows.BeginFill(text.size());
  TWrapRowSink sink(rows);
  if (wordWrap) {
    ForEachLine(text, [&](std::string_view line) { CutLine(line, sink); });
  } else {
    ForEachLine(text, [&](std::string_view line) { sink(line, raCrlf); });
  }
  sink.Finish();
  rows.EndFill();
}

int TEditorLineCutter::WrapCount(std::string_view line, bool wordWrap) const {
  if (!wordWrap) return 1;
  int count = 0;
  CutLine(line, [&](std::string_view, int kind) {
    if (kind != kLastRowEndsLine) ++count;
  });
  return count;
}

}  // namespace kerv
