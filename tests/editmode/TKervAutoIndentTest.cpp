#include "editmode/TKervAutoIndent.h"

#include <gtest/gtest.h>

namespace kerv {
namespace {

TEST(TKervAutoIndentTest, Decisions) {
  using A = TAutoIndentAction;
  struct Case {
    const char* name;
    TAutoIndentRequest request;
    TAutoIndentResult expected;
  } cases[] = {
      {"off: plain line break", {.lineText = "  x", .caretByteInRow = 3}, {A::InsertText, "\r\n", false, ""}},
      {"after the last line: the control's Return",
       {.onRowAfterLastLine = true, .autoIndent = true},
       {A::ControlReturn, "", false, ""}},
      {"indent copied", {.lineText = " \tab", .caretByteInRow = 4, .autoIndent = true}, {A::InsertText, "\r\n \t", true, " \t"}},
      {"indent cut at the caret", {.lineText = "    ab", .caretByteInRow = 2, .autoIndent = true},
       {A::InsertText, "\r\n  ", true, "  "}},
      {"caret at column 0", {.lineText = "  ab", .caretByteInRow = 0, .autoIndent = true}, {A::InsertText, "\r\n", false, ""}},
      {"empty line", {.lineText = "", .caretByteInRow = 0, .autoIndent = true}, {A::InsertText, "\r\n", false, ""}},
      {"no indent remembered as empty", {.lineText = "ab", .caretByteInRow = 2, .autoIndent = true},
       {A::InsertText, "\r\n", true, ""}},
      {"double-byte space only with DSIndent",
       {.lineText = "\x81\x40 a", .caretByteInRow = 4, .autoIndent = true},
       {A::InsertText, "\r\n", true, ""}},
      {"double-byte space copied",
       {.lineText = "\x81\x40 a", .caretByteInRow = 4, .autoIndent = true, .dsIndent = true},
       {A::InsertText, "\r\n\x81\x40 ", true, "\x81\x40 "}},
      {"never half a double-byte space",
       {.lineText = " \x81\x40" "a", .caretByteInRow = 2, .autoIndent = true, .dsIndent = true},
       {A::InsertText, "\r\n ", true, " "}},
      {"a line of only the last indent stays blank",
       {.lineText = "  ", .caretByteInRow = 2, .autoIndent = true, .noIndentEmptyLine = true, .lastIndent = "  "},
       {A::BlankLineAbove, "\r\n", false, ""}},
      {"without NoIndentEmptyLine the indent repeats",
       {.lineText = "  ", .caretByteInRow = 2, .autoIndent = true, .noIndentEmptyLine = false, .lastIndent = "  "},
       {A::InsertText, "\r\n  ", true, "  "}},
      {"another indent is copied",
       {.lineText = "    ", .caretByteInRow = 4, .autoIndent = true, .lastIndent = "  "},
       {A::InsertText, "\r\n    ", true, "    "}},
  };
  for (const Case& c : cases) EXPECT_EQ(TKervAutoIndent::Decide(c.request), c.expected) << c.name;
}

}  // namespace
}  // namespace kerv
