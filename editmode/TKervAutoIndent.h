#pragma once
// The application's auto indent on Return, as the edit mode's AutoIndent,
// DSIndent and NoIndentEmptyLine ask for it. A pure decision: the editor
// manager gathers the request from the control and performs the result.

#include <string>
#include <string_view>

namespace kerv {

struct TAutoIndentRequest {
  // The caret's logical line, without its line break.
  std::string_view lineText{};
  // Selection start minus the start of the caret's row, after a caret beyond
  // the row's end was moved to the row's end.
  int caretByteInRow = 0;
  // The caret stands on the empty row after the last line.
  bool onRowAfterLastLine = false;
  bool autoIndent = false;
  bool dsIndent = false;
  bool noIndentEmptyLine = true;
  // The indent the previous Return inserted.
  std::string_view lastIndent{};
};

enum class TAutoIndentAction {
  ControlReturn,   // let the control's own Return run
  InsertText,      // insert text at the caret (replacing a selection)
  BlankLineAbove,  // caret to column 0, insert CR LF there, caret back to its column on the new row
};

struct TAutoIndentResult {
  TAutoIndentAction action = TAutoIndentAction::InsertText;
  std::string text;             // for InsertText: CR LF, then the indent
  bool rememberIndent = false;  // the caller's last indent becomes indent
  std::string indent;
  bool operator==(const TAutoIndentResult&) const = default;
};

class TKervAutoIndent {
 public:
  static TAutoIndentResult Decide(const TAutoIndentRequest& request);
  // The leading run of spaces and tabs (with dsIndent also double-byte
  // spaces) of line, cut to at most maxBytes without splitting a character.
  static std::string LeadingIndent(std::string_view line, bool dsIndent, int maxBytes);
};

}  // namespace kerv
