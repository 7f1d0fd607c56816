#include "app/TKervEditorSearchTarget.h"

#include <algorithm>

#include "app/TKervSearchWindow.h"
#include "editor/TEditor.h"

namespace kerv {

long long TKervEditorSearchTarget::SelStart() { return editors_.ActiveEditor().SelStart(); }
long long TKervEditorSearchTarget::SelLength() { return editors_.ActiveEditor().SelLength(); }
std::string TKervEditorSearchTarget::SelText() { return editors_.ActiveEditor().SelText(); }
long long TKervEditorSearchTarget::TextLength() { return editors_.ActiveEditor().TextLength(); }
std::string TKervEditorSearchTarget::WordAtCaret() { return editors_.ActiveEditor().WordAtCaret(); }

TKervTextWindow TKervEditorSearchTarget::TextWindow(long long offset, long long minBytes) {
  const TEditorScreenStrings& store = editors_.ActiveEditor().RowStore();
  TKervTextWindow window;
  long long at = 0;  // document offset of the next row's start
  long long windowEnd = -1;
  bool started = false;
  bool previousEndedLine = true;
  // One walk over the rows: those before offset only add up their extents;
  // from the row holding offset the text is gathered up to a line end past
  // minBytes.
  store.ForEachRow(0, store.Count(), [&](std::string_view text, uint32_t value) {
    TRowAttribute kind = rowrecord::Kind(value);
    long long length = static_cast<long long>(text.size());
    long long rowStart = at;
    at += length + (kind == raCrlf ? 2 : 0);
    if (windowEnd >= 0) return;
    if (!started) {
      if (offset >= at && kind != raEof) {
        previousEndedLine = kind != raWrapped;
        return;
      }
      started = true;
      long long inRow = std::clamp(offset - rowStart, 0LL, at - rowStart);
      window.lineStart = inRow == 0 && previousEndedLine;
      if (minBytes <= 0) {
        windowEnd = rowStart + inRow;
        return;
      }
      if (inRow < length) window.text.append(text.substr(static_cast<size_t>(inRow)));
      if (kind == raCrlf) window.text.append(inRow <= length ? "\r\n" : "\n");
    } else {
      window.text.append(text);
      if (kind == raCrlf) window.text += "\r\n";
    }
    if (static_cast<long long>(window.text.size()) >= minBytes && kind != raWrapped) windowEnd = at;
  });
  if (!started) window.lineStart = previousEndedLine;
  window.reachesEnd = windowEnd < 0 || windowEnd >= at;
  return window;
}

void TKervEditorSearchTarget::Select(long long start, long long length) {
  TEditor& editor = editors_.ActiveEditor();
  editor.SetSelStart(start);
  editor.SetSelLength(length);
}

bool TKervEditorSearchTarget::SearchText(std::string_view pattern, SearchFlags flags) {
  return editors_.ActiveEditor().SearchText(pattern, flags);
}

void TKervEditorSearchTarget::ReplaceSelection(std::string_view text) { editors_.ActiveEditor().ReplaceSelText(text); }

void TKervEditorSearchTarget::ReplaceRange(long long start, long long length, std::string_view text, long long selStart,
                                           long long selLength) {
  TEditor& editor = editors_.ActiveEditor();
  {
    // One replacement inside one batch: one re-wrap, one repaint, one undo step.
    TStringsUpdate batch(editor.Lines());
    Select(start, length);
    editor.ReplaceSelText(text);
  }
  Select(selStart, selLength);
}

void TKervEditorSearchTarget::SetModified() { editors_.ActiveEditor().SetModified(true); }
void TKervEditorSearchTarget::Focus() { window_.FocusEditor(); }
std::string TKervEditorSearchTarget::EmphasisWord() { return editors_.ActiveEditor().FindString(); }

void TKervEditorSearchTarget::SetEmphasis(const std::string& word, SearchFlags flags) {
  editors_.MainEditor().SetFindString(word, flags);
  if (TEditor* second = editors_.SecondEditor()) second->SetFindString(word, flags);
}

}  // namespace kerv
