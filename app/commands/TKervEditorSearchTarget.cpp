#include "app/commands/TKervEditorSearchTarget.h"

#include <algorithm>

#include "app/commands/TKervSearchWindow.h"
#include "editor/TEditor.h"
#include "platform/LargeBuffer.h"

namespace kerv {

long long TKervEditorSearchTarget::SelStart() { return editors_.ActiveEditor().SelStart(); }
long long TKervEditorSearchTarget::SelLength() { return editors_.ActiveEditor().SelLength(); }
std::string TKervEditorSearchTarget::SelText() { return editors_.ActiveEditor().SelText(); }
long long TKervEditorSearchTarget::TextLength() { return editors_.ActiveEditor().TextLength(); }
std::string TKervEditorSearchTarget::WordAtCaret() { return editors_.ActiveEditor().WordAtCaret(); }

TKervTextWindow TKervEditorSearchTarget::TextWindow(long long offset, long long minBytes) {
  const TEditorScreenStrings& store = editors_.ActiveEditor().RowStore();
  TKervTextWindow window;
  long long total = store.TotalExtent();
  offset = std::clamp(offset, 0LL, total);
  long long rowStart = 0;
  int first = store.RowAtExtent(offset, &rowStart);
  long long inRow = offset - rowStart;
  window.lineStart = inRow == 0 && (first == 0 || store.RowAttribute(first - 1) != raWrapped);
  if (minBytes <= 0 || first >= store.Count()) {
    window.reachesEnd = first >= store.Count() || offset >= total;
    return window;
  }
  // The window ends at a line end past minBytes; a long line may carry it a
  // little further than asked.
  ReserveLargeText(window.text, static_cast<size_t>(std::min(total - offset, minBytes + 4096)));
  long long at = rowStart;
  long long windowEnd = -1;
  bool startRow = true;
  store.ForEachRowWhile(first, store.Count() - first, [&](std::string_view text, uint32_t value) {
    TRowAttribute kind = rowrecord::Kind(value);
    long long length = static_cast<long long>(text.size());
    at += length + (kind == raCrlf ? 2 : 0);
    if (startRow) {
      startRow = false;
      if (inRow < length) window.text.append(text.substr(static_cast<size_t>(inRow)));
      if (kind == raCrlf) window.text.append(inRow <= length ? "\r\n" : "\n");
    } else {
      window.text.append(text);
      if (kind == raCrlf) window.text += "\r\n";
    }
    if (static_cast<long long>(window.text.size()) >= minBytes && kind != raWrapped) windowEnd = at;
    return windowEnd < 0;
  });
  window.reachesEnd = windowEnd < 0 || windowEnd >= total;
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
    editor.ReplaceRange(start, length, text);
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
