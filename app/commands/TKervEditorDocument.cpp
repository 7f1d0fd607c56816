#include "app/commands/TKervEditorDocument.h"

#include "editor/TEditor.h"
#include "editor/TEditorScreenStrings.h"

namespace kerv {

std::string TKervEditorDocument::Text() { return editors_.MainEditor().Lines().GetTextStr(); }

bool TKervEditorDocument::SetText(std::string&& text, const std::function<bool(int permille)>& progress) {
  TEditor& main = editors_.MainEditor();
  // Loaded, not set as lines: a last line without a line break must stay
  // without one when the document is saved again. The rows take the text's
  // bytes over.
  main.RowStore().SetAdoptProgress(progress);
  bool loaded = false;
  try {
    loaded = main.Lines().LoadText(std::move(text));
  } catch (...) {
    main.RowStore().SetAdoptProgress({});
    throw;
  }
  main.RowStore().SetAdoptProgress({});
  if (!loaded) return false;
  // Undo steps of the old text cannot apply to the new one (also when read-only).
  main.RowStore().UndoObj().Clear();
  SetModified(false);
  return true;
}

void TKervEditorDocument::InsertAtCaret(std::string_view text) { editors_.ActiveEditor().InsertText(text); }

bool TKervEditorDocument::Modified() {
  TEditor* second = editors_.SecondEditor();
  return editors_.MainEditor().Modified() || (second != nullptr && second->Modified());
}

void TKervEditorDocument::SetModified(bool modified) {
  editors_.MainEditor().SetModified(modified);
  if (TEditor* second = editors_.SecondEditor()) second->SetModified(modified);
}

bool TKervEditorDocument::ReadOnly() { return editors_.MainEditor().ReadOnly(); }

void TKervEditorDocument::SetReadOnly(bool readOnly) {
  editors_.MainEditor().SetReadOnly(readOnly);
  if (TEditor* second = editors_.SecondEditor()) second->SetReadOnly(readOnly);
}

void TKervEditorDocument::MoveCaretToTop() {
  TEditor& editor = editors_.ActiveEditor();
  editor.CancelSelection();
  editor.MoveCaretTo(0, 0);
  editor.SetTopRow(0);
}

}  // namespace kerv
