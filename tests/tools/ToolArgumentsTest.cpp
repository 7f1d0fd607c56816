// From a tool's options to the program's arguments: split first, then one
// pass of substitution inside each argument.

#include <gtest/gtest.h>

#include "tools/ToolArguments.h"
#include "tools/ToolMessages.h"

namespace kerv {
namespace {

using Args = std::vector<std::string>;

TToolPlaceholderValues Values(const std::string& documentPath) {
  TToolPlaceholderValues values = DocumentPlaceholders(documentPath);
  values.tempPath = "/cfg/app_open.tmp";
  values.tempName = "app_open.tmp";
  values.tempFolder = "/cfg/";
  return values;
}

TEST(ToolArgumentsTest, DocumentParts) {
  const struct {
    const char* path;
    const char* name;
    const char* folder;
  } cases[] = {
      {"/home/user/a b/it's.txt", "it's.txt", "/home/user/a b"},
      {"/a.txt", "a.txt", "/"},
      {"", "", ""},
      {"relative.txt", "relative.txt", ""},
  };
  for (const auto& c : cases) {
    const TToolPlaceholderValues values = DocumentPlaceholders(c.path);
    EXPECT_EQ(values.filePath, c.path);
    EXPECT_EQ(values.fileName, c.name) << c.path;
    EXPECT_EQ(values.folder, c.folder) << c.path;
  }
}

TEST(ToolArgumentsTest, Expansions) {
  const struct {
    const char* document;
    const char* options;
    Args expected;
  } cases[] = {
      // Quotes group, blanks separate; the value is one argument whatever it holds.
      {"/home/user/a b/it's.txt", "-x \"%f\" -l %d", {"-x", "/home/user/a b/it's.txt", "-l", "/home/user/a b"}},
      {"/home/user/a b/it's.txt", "%f", {"/home/user/a b/it's.txt"}},
      {"/tmp/a;rm -rf $HOME/b.txt", "--open %f", {"--open", "/tmp/a;rm -rf $HOME/b.txt"}},
      {"/tmp/say \"hi\" `id`.txt", "%f %n", {"/tmp/say \"hi\" `id`.txt", "say \"hi\" `id`.txt"}},
      {"/tmp/$(reboot)|x&y.txt", "\"%f\" %d", {"/tmp/$(reboot)|x&y.txt", "/tmp"}},
      // An inserted value is never expanded again.
      {"/data/100%done/x.txt", "%d %n %f", {"/data/100%done", "x.txt", "/data/100%done/x.txt"}},
      {"/data/%n%f%tf/x.txt", "%f", {"/data/%n%f%tf/x.txt"}},
      {"/data/%d/x.txt", "%d", {"/data/%d"}},
      // Placeholders inside an argument, quotes in the middle of one.
      {"/w/a.txt", "--in=%f --out=\"%d/out dir\"", {"--in=/w/a.txt", "--out=/w/out dir"}},
      {"/w/a.txt", "-o\"a b\"c", {"-oa bc"}},
      {"/w/a.txt", "\"unclosed %n", {"unclosed a.txt"}},
      {"/w/a.txt", "  a \t  b  ", {"a", "b"}},
      {"/w/a.txt", "", {}},
      {"/w/a.txt", "\"\"", {""}},
      // Other percent signs stay.
      {"/w/a.txt", "100% %x %t %T %F %%f", {"100%", "%x", "%t", "%T", "%F", "%/w/a.txt"}},
      {"/w/a.txt", "%", {"%"}},
      // The temporary copy.
      {"/w/a.txt", "%tf %tn %td %tfx", {"/cfg/app_open.tmp", "app_open.tmp", "/cfg/", "/cfg/app_open.tmpx"}},
      // An untitled document: an unquoted empty value is left out, a quoted one passed.
      {"", "-x %f \"%f\" %n %d", {"-x", ""}},
      {"", "%tf", {"/cfg/app_open.tmp"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BuildToolArguments(c.options, Values(c.document)), c.expected) << c.options << " on " << c.document;
  }
}

TEST(ToolArgumentsTest, WhichTemplatesUseTheTemporaryCopy) {
  const std::pair<const char*, bool> cases[] = {
      {"%tf", true}, {"-a%tn", true}, {"%td/x", true}, {"%%tf", true},
      {"%t", false}, {"%f", false},   {"%tx", false},  {"", false}, {"%T F", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(UsesToolTempFile(text), expected) << text;
}

TEST(ToolArgumentsTest, SplitKeepsWhetherAnArgumentWasQuoted) {
  EXPECT_EQ(SplitToolOptions("a \"b c\" d\"\""),
            (std::vector<TToolArgumentTemplate>{{"a", false}, {"b c", true}, {"d", true}}));
}

TEST(ToolArgumentsTest, TheEditorsPlaceholderMenu) {
  ASSERT_EQ(ToolPlaceholderMenu().size(), 6u);
  EXPECT_EQ(ToolPlaceholderCaption(ToolPlaceholderMenu()[0]), "\"%f\" : 編集中のファイルパス(&P)");
  EXPECT_EQ(ToolPlaceholderInsertion(ToolPlaceholderMenu()[0]), "\"%f\" ");
  EXPECT_EQ(ToolPlaceholderCaption(ToolPlaceholderMenu()[5]), "\"%td\" : 一時ファイルのフォルダー(&D)");
}

}  // namespace
}  // namespace kerv
