#include "editor/TEditorStrings.h"

#include <cstdint>

#include "editor/TEditorScreenStrings.h"
#include "platform/FileSystem.h"

namespace kerv {

int TEditorStrings::GetCount() const { return Store().LineCount(); }

int TEditorStrings::LineToRow(int line) const { return Store().LineToRow(line); }

void TEditorStrings::CheckLine(int line) const {
  if (line < 0 || line >= GetCount()) throw EListError(line);
}

int TEditorStrings::RowsOfLine(int line, int firstRow) const {
  (void)line;
  return Store().LastRowOfLine(firstRow) - firstRow + 1;
}

std::string TEditorStrings::Get(int index) const {
  CheckLine(index);
  int row = LineToRow(index);
  const TEditorScreenStrings& store = Store();
  if (!store.WordWrap()) return store.GetString(row);
  int last = store.LastRowOfLine(row);
  std::string line;
  for (int r = row; r <= last; ++r) line += store.Get(r);
  return line;
}

void TEditorStrings::Replace(int row, int count, std::string_view text, int caretOffset) {
  TEditorView& view = owner_.View();
  view.CleanSelection();
  view.HideCaret();
  struct Show {
    TEditorView& view;
    ~Show() { view.ShowCaret(); }
  } show{view};
  Store().ReplaceRows(row, count, text);
  view.SetCaretByOffset(row, caretOffset);
}

void TEditorStrings::Put(int index, std::string_view text) {
  owner_.View().CleanSelection();
  CheckLine(index);
  // A text still wrapped in steps is cut there first, so the rows found stay put.
  Store().CutNear(LineToRow(index), LineToRow(index));
  int row = LineToRow(index);
  int count = RowsOfLine(index, row);
  TRowAttribute kind = Store().RowAttribute(row + count - 1);
  std::string replacement(text);
  // The line keeps its final kind: only a line that ended with a break gets one again.
  if (kind == raCrlf) replacement += "\r\n";
  Replace(row, count, replacement, static_cast<int>(replacement.size()));
}

void TEditorStrings::Insert(int index, std::string_view text) {
  Store().CutNear(LineToRow(index), LineToRow(index));
  int row = LineToRow(index);
  if (index < 0 || index > GetCount()) throw EListError(index);
  if (row >= Store().Count()) {
    Add(text);
    return;
  }
  std::string replacement = std::string(text) + "\r\n";
  Replace(row, 0, replacement, static_cast<int>(replacement.size()));
}

int TEditorStrings::Add(std::string_view text) {
  int index = GetCount();
  TEditorScreenStrings& store = Store();
  store.CutNear(store.Count() - 1, store.Count() - 1);
  int rows = store.Count();
  if (rows == 0 || store.RowAttribute(rows - 1) == raCrlf) {
    std::string replacement = std::string(text) + "\r\n";
    Replace(rows, 0, replacement, static_cast<int>(replacement.size()));
  } else {
    // The former last line gains a line break; the new last line has none.
    std::string replacement = store.GetString(rows - 1) + "\r\n" + std::string(text);
    Replace(rows - 1, 1, replacement, static_cast<int>(replacement.size()));
  }
  return index;
}

void TEditorStrings::Delete(int index) {
  owner_.View().CleanSelection();
  CheckLine(index);
  // A text still wrapped in steps is cut there first, so the rows found stay put.
  Store().CutNear(LineToRow(index), LineToRow(index));
  int row = LineToRow(index);
  Replace(row, RowsOfLine(index, row), std::string_view(), 0);
}

void TEditorStrings::Clear() { Store().Clear(); }

std::string TEditorStrings::GetTextStr() const { return Store().GetText(); }

void TEditorStrings::SetTextStr(std::string_view text) {
  TStringsUpdate batch(*this);
  TEditorScreenStrings& store = Store();
  store.Clear();
  store.SetText(text);
  store.TextReplaced();
}

void TEditorStrings::Assign(const TStrings& source) {
  SetTextStr(source.GetTextStr());
  TEditorView& view = owner_.View();
  view.SetCaretRow(Store().Count());
  view.ClampToStore();
  view.SetCaretCol(0);
}

void TEditorStrings::LoadFromStream(IByteStream& stream) {
  TStringsUpdate batch(*this);
  TEditorScreenStrings& store = Store();
  store.Clear();
  store.LoadFromStream(stream);
  store.TextReplaced();
  store.RefreshViews();
}

bool TEditorStrings::LoadText(std::string&& text) {
  TStringsUpdate batch(*this);
  TEditorScreenStrings& store = Store();
  if (!store.LoadText(std::move(text))) return false;
  store.RefreshViews();
  return true;
}

void TEditorStrings::LoadFromFile(IFileSystem& fs, const std::string& fileName) {
  // A pipe or a device is refused rather than read without end.
  std::string bytes = fs.ReadRegularFile(fileName, INT64_MAX);
  TMemoryStream stream(bytes);
  LoadFromStream(stream);
}

void TEditorStrings::SetUpdateState(bool updating) {
  TEditorView& view = owner_.View();
  TEditorScreenStrings& store = Store();
  if (updating) {
    store.BeginUpdate();
    view.HideCaret();
    view.HideUnderline();
    view.SetLinesUpdating(true);
    if (owner_.Visible()) owner_.SetRedraw(false);
  } else {
    store.EndUpdate();
    view.ShowUnderline();
    view.ShowCaret();
    view.SetLinesUpdating(false);
    view.Refresh();
    if (owner_.Visible()) {
      owner_.SetRedraw(true);
      store.RefreshViews();
    }
  }
}

}  // namespace kerv
