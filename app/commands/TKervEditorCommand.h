#pragma once
// The editor family of commands: clipboard additions, insertions, deletions
// to the text's ends, caret jumps, box mode and editing prohibited, on the
// pane the commands act on (both panes for the switches).

#include "app/commands/TKervCommand.h"
#include <string>
#include <string_view>

namespace kerv {

class IClipboard;
class IKervEditors;
class TEditor;
class TEditorPropEx;

class TKervEditorCommand : public TKervCommand {
 public:
  TKervEditorCommand(IKervEditors& editors, IClipboard& clipboard) : editors_(editors), clipboard_(clipboard) {}

  // The clipboard text followed by the selection; add-cut then deletes it.
  void AddCopy();
  void AddCut();
  // Replaces the selection (Shift_JIS text).
  void InsertText(std::string_view text);
  void DeleteToStart();
  void DeleteToEnd();
  void JumpFirst();
  // Selection start at the text's length, scrolled into view.
  void JumpToEnd();
  // Column 0 of the line with the shown number n (as the line-number bar counts).
  void JumpToLine(int shownNumber);
  // Box mode on the active pane; the free caret follows the edit mode.
  void SetBoxMode(bool on, const TEditorPropEx& mode);
  void SetReadOnly(bool on);

  // Line and column as the status bar shows them.
  static int CaretLine(const TEditor& editor);
  static int CaretColumn(const TEditor& editor) ;
  // The first and last shown line numbers (the go-to-line prompt's range).
  static int FirstLineNumber(const TEditor& editor);
  static int LastLineNumber(const TEditor& editor);
  // The answer of the go-to-line question: a number clamped to the range, a
  // non-number the caret's row index.
  static int ParseJumpAnswer(const TEditor& editor, const std::string& answer);

 private:
  IKervEditors& editors_;
  IClipboard& clipboard_;
};

}  // namespace kerv
