#pragma once
// The file manager's view of the window's editor panes: the text lives in the
// row store both panes share; the commands act on the active pane.

#include "app/commands/TKervEditors.h"
#include "document/TKervFilePorts.h"

namespace kerv {

class TKervEditorDocument : public IKervDocumentEditor {
 public:
  explicit TKervEditorDocument(IKervEditors& editors) : editors_(editors) {}

  std::string Text() override;
  bool SetText(std::string&& text, const std::function<bool(int permille)>& progress) override;
  void InsertAtCaret(std::string_view text) override;
  bool Modified() override;
  void SetModified(bool modified) override;
  bool ReadOnly() override;
  void SetReadOnly(bool readOnly) override;
  void MoveCaretToTop() override;

 private:
  IKervEditors& editors_;
};

}  // namespace kerv
