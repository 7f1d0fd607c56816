#include "editor/TEditorStringList.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/editor/textengine/RowsTestSupport.h"

namespace kerv {
namespace {

using testing::Rows;
using V = std::vector<std::string>;

std::vector<std::string> Load(const std::string& bytes) {
  TEditorStringList list;
  TMemoryStream stream(bytes);
  list.LoadFromStream(stream);
  return Rows(list);
}

TEST(TEditorStringListTest, LoadingCutsLinesAtEveryReturnKind) {
  const std::string block(TEditorStringList::kLoadBlockBytes - 1, 'a');
  struct Case {
    const char* name;
    std::string bytes;
    V rows;
  } cases[] = {
      {"crlf then text", "a\r\nb", {"a|c", "b|e"}},
      {"final crlf", "a\r\n", {"a|c"}},
      {"cr cr", "a\r\rb", {"a|c", "|c", "b|e"}},
      {"lf cr", "a\n\rb", {"a|c", "|c", "b|e"}},
      {"leading lf", "\na", {"|c", "a|e"}},
      {"lone cr at end", "a\r", {"a|c"}},
      {"empty", "", {}},
      {"crlf split by the block boundary", block + "\r\nb", {block + "|c", "b|e"}},
      {"cr at a block end, text after", block + "\rx", {block + "|c", "x|e"}},
      {"line across the boundary", block + "bc\r\nd", {block + "bc|c", "d|e"}},
      {"long line", std::string(20000, 'z'), {std::string(20000, 'z') + "|e"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Load(c.bytes), c.rows) << c.name;
}

TEST(TEditorStringListTest, OnlyATrailingRunOf1AEndsTheText) {
  const std::string block(TEditorStringList::kLoadBlockBytes - 1, 'a');
  struct Case {
    const char* name;
    std::string bytes;
    V rows;
  } cases[] = {
      // A 0x1A in the middle is kept: dropping what follows would lose it on the next save.
      {"in the middle", "a\x1A" "b\r\n", {"a\x1A" "b|c"}},
      {"at the end", "a\x1A", {"a|e"}},
      {"run at the end after a break", "a\r\n\x1A\x1A", {"a|c"}},
      {"after a cr", "a\r\x1A", {"a|c"}},
      {"alone", "\x1A", {}},
      {"run across the boundary", block + "b\x1A\x1A", {block + "b|e"}},
      {"first byte of a block, line cut", block + "\x1A", {block + "|e"}},
      {"run then more text", "a\x1A\x1A" "b", {"a\x1A\x1A" "b|e"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Load(c.bytes), c.rows) << c.name;
}

TEST(TEditorStringListTest, AssemblyGivesBackTheLoadedBytes) {
  for (std::string bytes : {std::string("abc"), std::string("abc\r\n"), std::string("\r\n\r\nx\r\ny"),
                            std::string(30000, 'q') + "\r\n" + std::string(9000, 'r')}) {
    TEditorStringList list;
    TMemoryStream stream(bytes);
    list.LoadFromStream(stream);
    EXPECT_EQ(list.GetText(), bytes);
  }
}

TEST(TEditorStringListTest, RangeTextJoinsRowsAndWrappedRows) {
  TEditorStringList list;
  for (const char* s : {"ab", "cd", "ef", "gh"}) list.Add(s);
  list.SetRowAttribute(0, raWrapped);
  list.SetRowAttribute(3, raEof);
  EXPECT_EQ(list.GetRangeText(0, 2), "abcd\r\n");
  EXPECT_EQ(list.GetRangeText(1, -1), "cd\r\nef\r\ngh");
  EXPECT_EQ(list.GetRangeText(4, 1), "");
}

TEST(TEditorStringListTest, SetTextEndsEveryLineWithABreak) {
  TEditorStringList list;
  list.SetText("a");
  EXPECT_EQ(Rows(list), V{"a|c"});
  EXPECT_EQ(list.GetText(), "a\r\n");
  list.SetText(std::string("x\ny\r\n\rz\0w", 9));
  EXPECT_EQ(Rows(list), (V{"x|c", "y|c", "|c", "z|c"}));
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
}

TEST(TEditorStringListTest, ReadErrorPropagatesAndLeavesTheSizedRows) {
  std::string bytes = std::string(TEditorStringList::kLoadBlockBytes, 'a') + "\r\n" + "b\r\n";
  // Fail in the filling pass: the first pass read two blocks and the end.
  TEditorStringList list;
  struct Stream : IByteStream {
    std::string bytes;
    TMemoryStream inner{std::string_view()};
    int reads = 0;
    size_t Read(char* buffer, size_t size) override {
      if (++reads == 5) throw std::runtime_error("read error");
      return inner.Read(buffer, size);
    }
    void SeekToStart() override { inner.SeekToStart(); }
  } stream;
  stream.bytes = bytes;
  stream.inner = TMemoryStream(stream.bytes);
  EXPECT_THROW(list.LoadFromStream(stream), std::runtime_error);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Get(1), "");
}

}  // namespace
}  // namespace kerv
