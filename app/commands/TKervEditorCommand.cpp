#include "app/commands/TKervEditorCommand.h"

#include <algorithm>
#include <charconv>

#include "app/commands/TKervEditors.h"
#include "editmode/TEditorProp.h"
#include "editor/TEditor.h"
#include "platform/Clipboard.h"

namespace kerv {

namespace {

bool CountsLines(const TEditor& editor) { return editor.Leftbar().ShowNumberMode() == nmLine; }

long long TextLength(const TEditor& editor) {
  const int lastRow = editor.RowCount() - 1;
  if (lastRow < 0) return 0;
  const bool lineEnd = editor.RowStore().RowAttribute(lastRow) == raCrlf;
  return editor.OffsetOfRow(lastRow, static_cast<long long>(editor.RowText(lastRow).size()) + (lineEnd ? 2 : 0));
}

template <typename Fn>
void ForBoth(IKervEditors& editors, Fn fn) {
  fn(editors.MainEditor());
  if (TEditor* second = editors.SecondEditor()) fn(*second);
}

}  // namespace

void TKervEditorCommand::AddCopy() {
  TEditor& editor = editors_.ActiveEditor();
  if (!editor.Selected()) return;
  clipboard_.SetText(clipboard_.Text().text + editor.SelText(), false);
}

void TKervEditorCommand::AddCut() {
  TEditor& editor = editors_.ActiveEditor();
  if (!editor.Selected() || editor.ReadOnly()) return;
  AddCopy();
  editor.ReplaceSelText("");
}

void TKervEditorCommand::InsertText(std::string_view text) { editors_.ActiveEditor().ReplaceSelText(text); }

void TKervEditorCommand::DeleteToStart() {
  TEditor& editor = editors_.ActiveEditor();
  if (editor.ReadOnly()) return;
  editor.CancelSelection();
  const long long caret = editor.SelStart();
  editor.SetSelStart(0);
  editor.SetSelLength(caret);
  editor.ReplaceSelText("");
}

void TKervEditorCommand::DeleteToEnd() {
  TEditor& editor = editors_.ActiveEditor();
  if (editor.ReadOnly()) return;
  editor.CancelSelection();
  const long long caret = editor.SelStart();
  editor.SetSelLength(TextLength(editor) - caret);
  editor.ReplaceSelText("");
}

void TKervEditorCommand::JumpFirst() {
  TEditor& editor = editors_.ActiveEditor();
  editor.CancelSelection();
  editor.MoveCaretTo(0, 0);
}

void TKervEditorCommand::JumpToEnd() {
  TEditor& editor = editors_.ActiveEditor();
  editor.SetSelStart(TextLength(editor));
}

void TKervEditorCommand::JumpToLine(int shownNumber) {
  TEditor& editor = editors_.ActiveEditor();
  int index = editor.Leftbar().ZeroBase() ? shownNumber : shownNumber - 1;
  index = std::max(0, index);
  int row = CountsLines(editor) ? editor.RowStore().LineToRow(index) : index;
  row = std::clamp(row, 0, std::max(0, editor.RowCount() - 1));
  editor.CancelSelection();
  editor.MoveCaretTo(row, 0);
}

void TKervEditorCommand::SetBoxMode(bool on, const TEditorPropEx& mode) {
  TEditor& editor = editors_.ActiveEditor();
  editor.Caret().SetFreeCaret(on && mode.BoxFreeCaret() ? true : mode.Caret().FreeCaret());
  editor.SetSelectionMode(on ? smBox : smNormal);
}

void TKervEditorCommand::SetReadOnly(bool on) {
  ForBoth(editors_, [on](TEditor& editor) { editor.SetReadOnly(on); });
}

int TKervEditorCommand::CaretLine(const TEditor& editor) {
  const int index = CountsLines(editor) ? editor.RowToLine(editor.Row()) : editor.Row();
  return editor.Leftbar().ZeroBase() ? index : index + 1;
}

int TKervEditorCommand::CaretColumn(const TEditor& editor) { return editor.Col(); }

int TKervEditorCommand::FirstLineNumber(const TEditor& editor) { return editor.Leftbar().ZeroBase() ? 0 : 1; }

int TKervEditorCommand::LastLineNumber(const TEditor& editor) {
  const int lastRow = std::max(0, editor.RowCount() - 1);
  int last = CountsLines(editor) ? editor.RowToLine(lastRow) : lastRow;
  // A text that ends with a line break has one more (empty) line to go to.
  if (editor.RowStore().RowAttribute(lastRow) == raCrlf) ++last;
  return editor.Leftbar().ZeroBase() ? last : last + 1;
}

int TKervEditorCommand::ParseJumpAnswer(const TEditor& editor, const std::string& answer) {
  int value = 0;
  const char* first = answer.data();
  const char* end = answer.data() + answer.size();
  while (first != end && *first == ' ') ++first;
  auto [ptr, ec] = std::from_chars(first, end, value);
  if (ec != std::errc() || ptr != end) value = editor.Row();
  return std::clamp(value, 0, LastLineNumber(editor));
}

}  // namespace kerv
