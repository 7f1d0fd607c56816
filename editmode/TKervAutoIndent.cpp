#include "editmode/TKervAutoIndent.h"

namespace kerv {
namespace {

constexpr const char* kCrLf = "\r\n";

TAutoIndentResult Insert(std::string text) {
  TAutoIndentResult result;
  result.action = TAutoIndentAction::InsertText;
  result.text = std::move(text);
  return result;
}

}  // namespace

std::string TKervAutoIndent::LeadingIndent(std::string_view line, bool dsIndent, int maxBytes) {
  size_t end = 0;
  const size_t limit = maxBytes < 0 ? 0 : static_cast<size_t>(maxBytes);
  while (end < line.size()) {
    size_t width = 0;
    if (line[end] == ' ' || line[end] == '\t') {
      width = 1;
    } else if (dsIndent && line.compare(end, 2, "\x81\x40") == 0) {
      width = 2;  // the double-byte space
    }
    if (width == 0 || end + width > limit) break;
    end += width;
  }
  return std::string(line.substr(0, end));
}

TAutoIndentResult TKervAutoIndent::Decide(const TAutoIndentRequest& request) {
  if (!request.autoIndent) return Insert(kCrLf);
  if (request.onRowAfterLastLine) {
    TAutoIndentResult result;
    result.action = TAutoIndentAction::ControlReturn;
    return result;
  }
  // A line holding only the indent the last Return made stays blank: the
  // indent moves down with the caret instead of piling up on blank lines.
  if (request.noIndentEmptyLine && !request.lastIndent.empty() && request.lineText == request.lastIndent) {
    TAutoIndentResult result;
    result.action = TAutoIndentAction::BlankLineAbove;
    result.text = kCrLf;
    return result;
  }
  if (request.lineText.empty() || request.caretByteInRow <= 0) return Insert(kCrLf);
  std::string indent = LeadingIndent(request.lineText, request.dsIndent, request.caretByteInRow);
  TAutoIndentResult result = Insert(kCrLf + indent);
  result.rememberIndent = true;
  result.indent = std::move(indent);
  return result;
}

}  // namespace kerv
