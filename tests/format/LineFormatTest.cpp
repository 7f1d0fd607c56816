// Line formatting: indents, numbering, lead and foot strings, line removal,
// breaking at a column, tags, sorting and the widening of the selection.

#include <gtest/gtest.h>

#include <functional>

#include "format/ITextCollator.h"
#include "format/TLineSelection.h"
#include "format/TNumberingOptions.h"
#include "format/TStringFormatter.h"
#include "tests/format/FormatTestSupport.h"

namespace kerv {
namespace {

using test::S;
using test::U;
using F = TStringFormatter;

struct LineCase {
  const char* name;
  std::function<std::string(const std::string&)> run;
  const char* text;
  const char* expected;
};

TEST(LineFormatTest, LineOperations) {
  const LineCase cases[] = {
      {"indent, empty lines skipped", [](auto& t) { return F::Indent(t, true); }, "a\r\n\r\nb", "\ta\r\n\r\n\tb"},
      {"indent, empty lines too", [](auto& t) { return F::Indent(t, false); }, "a\r\n\r\nb", "\ta\r\n\t\r\n\tb"},
      {"indent, blank line is not empty", [](auto& t) { return F::Indent(t, true); }, " \r\n", "\t \r\n"},
      {"indent, no tail", [](auto& t) { return F::Indent(t, false); }, "a\r\n", "\ta\r\n"},
      {"indent, one empty line", [](auto& t) { return F::Indent(t, false); }, "", "\t"},
      {"space indent", [](auto& t) { return F::SpaceIndent(t, true, 2); }, "a\r\n\r\nb\r\n", "  a\r\n\r\n  b\r\n"},
      {"outdent", [](auto& t) { return F::Outdent(t); }, "\t\ta\r\n b\r\n\tc", "\ta\r\n b\r\nc"},
      {"space outdent", [](auto& t) { return F::SpaceOutdent(t, 4); }, "   a\r\n      b\r\n    ", "   a\r\n  b\r\n"},
      {"delete lead char", [](auto& t) { return F::DeleteLeadChar(t); }, "漢字\r\n\r\nab\r\nソx", "字\r\n\r\nb\r\nx"},
      {"erase empty lines", [](auto& t) { return F::EraseEmptyLines(t); }, "a\r\n  \t\r\n　\r\n\r\nb\r\n ", "a\r\n　\r\nb\r\n"},
      {"lead string", [](auto& t) { return F::InsertLeadString(t, "> "); }, "a\r\n\r\nb\r\n", "> a\r\n> \r\n> b\r\n"},
      {"empty lead", [](auto& t) { return F::InsertLeadString(t, ""); }, "a\r\n", "a\r\n"},
      {"foot string", [](auto& t) { return F::AppendFootString(t, ";"); }, "a\r\nb\r\n", "a;\r\nb;\r\n;"},
      {"numbers", [](auto& t) { return F::InsertNumbers(t, "%d) ", 1); }, "a\r\nb\r\n", "1) a\r\n2) b\r\n"},
      {"number format", [](auto& t) { return F::InsertNumbers(t, "[%-3d|%03d|%.2d|%%|%s|%]", 7); }, "x",
       "[7  |007|07|%|%s|%]x"},
      {"tags", [](auto& t) { return F::EraseTags(t); }, "a<b>c", "ac"},
      {"comment markers", [](auto& t) { return F::EraseTags(t); }, "x<!-- y -->z", "x y z"},
      {"unbalanced <", [](auto& t) { return F::EraseTags(t); }, "a<b", "a<b"},
      {"stray >", [](auto& t) { return F::EraseTags(t); }, "a<b>c>d", "ac>d"},
      {"tags around kanji", [](auto& t) { return F::EraseTags(t); }, "<p>ソ表<br/>\r\n<!--<i>-->x", "ソ表\r\nx"},
  };
  for (const LineCase& c : cases) EXPECT_EQ(U(c.run(S(c.text))), c.expected) << c.name;
}

TEST(LineFormatTest, CountLines) {
  EXPECT_EQ(F::CountLines(""), 0);
  EXPECT_EQ(F::CountLines("a\r\nb\r\n"), 2);
  EXPECT_EQ(F::CountLines("a\nb\rc\r\n"), 3);
}

TEST(LineFormatTest, StrayLeadByteNeverSwallowsALineBreak) {
  EXPECT_EQ(F::CountLines("\x82\r\n\x82\n"), 2);
  EXPECT_EQ(F::DeleteLeadChar("\x82\r\nab"), "\r\nb");
  EXPECT_EQ(F::ToZenkaku("\x82\r\n", TZenkakuMode::Katakana), "\x82\r\n");
  EXPECT_EQ(F::ToHankaku("\x82\r\n"), "\x82\r\n");
  EXPECT_EQ(F::SortLines("\x82\r\n\x81"), "\x81\r\n\x82");
}

std::string Lines(int count, const char* line = "x") {
  std::string text;
  for (int i = 0; i < count; ++i) text += std::string(i ? "\r\n" : "") + line;
  return text;
}

TEST(LineFormatTest, Numbering) {
  const TNumberingOptions options{9, ": ", TNumberAlignment::ZeroFill};
  std::string numbered = options.Apply(Lines(12));
  EXPECT_TRUE(numbered.starts_with("09: x\r\n10: x\r\n")) << numbered;
  EXPECT_TRUE(numbered.ends_with("\r\n20: x")) << numbered;

  TNumberingOptions digits;
  digits.alignment = TNumberAlignment::Digits;
  numbered = digits.Apply(Lines(12) + "\r\n");
  EXPECT_TRUE(numbered.starts_with(" 1.x\r\n 2.x")) << numbered;
  EXPECT_TRUE(numbered.ends_with("\r\n12.x\r\n")) << numbered;  // no number on the empty tail

  // The separator is text, never a printf format; a TAB in it is a blank.
  TNumberingOptions percent;
  percent.separateStr = "%s%n%d\t%";
  EXPECT_EQ(percent.Apply("a\r\nb"), "1%s%n%d %a\r\n2%s%n%d %b");
}

TEST(LineFormatTest, ReturnAt) {
  const std::string kanji12 = S("一二三四五六七八九十百千");
  EXPECT_EQ(F::ReturnAt(kanji12, 4, 10), kanji12.substr(0, 10) + "\r\n" + kanji12.substr(10, 10) + "\r\n" + kanji12.substr(20));
  const std::string kanji5 = S("表ソ十能予");  // trail bytes 0x5C
  const std::string split = S("表ソ\r\n十能\r\n予");
  EXPECT_EQ(F::ReturnAt(kanji5, 4, 5), split);
  // Columns below 2 would never fit a double-byte character: clamped.
  EXPECT_EQ(F::ReturnAt(kanji5, 4, 1), S("表\r\nソ\r\n十\r\n能\r\n予"));
  EXPECT_EQ(F::ReturnAt("ab", 4, 0), "ab");
  EXPECT_EQ(F::ReturnAt("abcdef\r\nab", 4, 3), "abc\r\ndef\r\nab");
  EXPECT_EQ(F::ReturnAt("abc\r\n", 4, 3), "abc\r\n");
  // A TAB counts the tab width plus one, or the tab width after a break.
  EXPECT_EQ(F::ReturnAt("\tabcd", 4, 8), "\tabc\r\nd");
  EXPECT_EQ(F::ReturnAt("abcde\tx", 4, 8), "abcde\r\n\tx");
  // A TAB wider than the column breaks no empty line before it.
  EXPECT_EQ(F::ReturnAt("\ta", 4, 2), "\t\r\na");
  EXPECT_EQ(F::ParseReturnCol("2"), 2);
  EXPECT_EQ(F::ParseReturnCol("1000"), 1000);
  EXPECT_FALSE(F::ParseReturnCol("1"));
  EXPECT_FALSE(F::ParseReturnCol("12a"));
}

// Case-insensitive ASCII comparison: stability shows with lines it calls equal.
class CaselessCollator : public ITextCollator {
 public:
  int Compare(std::string_view a, std::string_view b) const override {
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
      int x = std::tolower(static_cast<unsigned char>(a[i])), y = std::tolower(static_cast<unsigned char>(b[i]));
      if (x != y) return x - y;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
  }
};

TEST(LineFormatTest, Sorting) {
  EXPECT_EQ(F::SortLines("b\r\nA\r\na"), "a\r\nA\r\nb");
  EXPECT_EQ(F::ReverseSortLines("b\r\nA\r\na"), "b\r\nA\r\na");
  EXPECT_EQ(F::SortLines("b\r\na\r\n"), "a\r\nb\r\n");
  EXPECT_EQ(F::SortLines("b\na\r"), "a\r\nb\r\n");
  EXPECT_EQ(F::SortLines(""), "");
  EXPECT_EQ(F::SortLines("\r\n"), "\r\n");
  EXPECT_EQ(F::SortLines("b\r\n\r\na"), "\r\na\r\nb");
  CaselessCollator caseless;
  EXPECT_EQ(F::SortLines("b\r\nB\r\na\r\nA", caseless), "a\r\nA\r\nb\r\nB");
  EXPECT_EQ(F::SortLines("B\r\nb\r\nA\r\na", caseless), "A\r\na\r\nB\r\nb");
  EXPECT_EQ(F::ReverseSortLines("B\r\na\r\nb\r\nA", caseless), "B\r\nb\r\na\r\nA");
}

// A collator that orders whole lists itself (as the Qt collation does).
class ListOrderCollator : public ITextCollator {
 public:
  int Compare(std::string_view, std::string_view) const override { return 0; }
  bool SortOrder(std::span<const std::string_view> lines, bool descending, std::vector<size_t>& order) const override {
    order.clear();
    for (size_t i = 0; i < lines.size(); ++i) order.push_back(descending ? i : lines.size() - 1 - i);
    return true;
  }
};

TEST(LineFormatTest, SortingByAWholeListOrder) {
  ListOrderCollator byList;
  EXPECT_EQ(F::SortLines("a\r\nb\r\nc", byList), "c\r\nb\r\na");
  EXPECT_EQ(F::SortLines("a\r\nb\r\n", byList), "b\r\na\r\n");
  EXPECT_EQ(F::ReverseSortLines("a\nb", byList), "a\r\nb");
}

TEST(LineFormatTest, SelectionWidening) {
  // "ab" CR LF "cd" CR LF "ef": lines start at 0, 4 and 8.
  const std::string text = "ab\r\ncd\r\nef";
  const std::tuple<size_t, size_t, size_t, size_t> cases[] = {
      // start, length -> start, length
      {1, 0, 0, 2},    // a caret widens to its line
      {1, 4, 0, 6},    // into the second line
      {1, 3, 0, 2},    // ends at the start of the second line: not taken in
      {4, 0, 4, 2},    // a caret at a line start keeps its line
      {5, 5, 4, 6},    // to the end of the text
      {0, 99, 0, 10},  // clamped
  };
  for (const auto& [start, length, wideStart, wideLength] : cases) {
    EXPECT_EQ(WidenSelectionToLines(text, {start, length}), (TByteSelection{wideStart, wideLength})) << start << "+" << length;
  }
  // A selection that reaches past the final line break keeps it.
  EXPECT_EQ(WidenSelectionToLines("ab\r\ncd\r\n", {1, 7}), (TByteSelection{0, 8}));
  EXPECT_EQ(WidenSelectionToLines("ab\r\ncd\r\n", {8, 0}), (TByteSelection{8, 0}));
  EXPECT_EQ(WidenSelectionToLines("ab\r\ncd\r\n", {1, 3}), (TByteSelection{0, 2}));

  TLineSelection lines{2, 5, 0, 5, true};
  EXPECT_EQ(WidenSelectionToLines(lines), (TWidenedLines{2, 4, true}));
  lines.lastLineEmpty = false;
  EXPECT_EQ(WidenSelectionToLines(lines), (TWidenedLines{2, 4, false}));
  lines.endByteInLine = 3;
  EXPECT_EQ(WidenSelectionToLines(lines), (TWidenedLines{2, 5, false}));
}

}  // namespace
}  // namespace kerv
