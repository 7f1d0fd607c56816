// Colouring stays right when the scanner changes: each sample in golden/ is
// cut into rows, parsed row by row with the bracket state carried on, and the
// tokens are compared with <sample>.tokens beside it. On a difference the
// actual tokens are written to <sample>.actual for review (copy it over the
// expectation once it is right); KERV_UPDATE_GOLDEN=1 rewrites the expectations.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "ParserTestSupport.h"
#include "editor/TEditorParser.h"

namespace kerv::test {
namespace {

struct Sample {
  const char* file;
  ViewOptions options;
};

// The view options an edit mode for each kind of file would set.
const Sample kSamples[] = {
    {"c_source.c", {.commenter = "//", .quotation = "\"", .hexPrefix = "0x", .brackets = {{"/*", "*/"}}}},
    {"html_page.html",
     {.quotation = "\"", .mail = true, .url = true, .brackets = {{"<!--", "-->"}, {"<", ">"}}}},
    {"japanese_prose.txt",
     {.mail = true, .url = true, .brackets = {{"\x81\x75", "\x81\x76"}, {"\x81\x77", "\x81\x78"}}}},  // 「」『』
    {"nested_comments.pas",
     {.commenter = "//", .quotation = "'", .hexPrefix = "$", .controlCode = true,
      .brackets = {{"{", "}"}, {"(*", "*)"}, {"/*", "*/"}}}},
};

// Names the sample in test output instead of dumping its bytes.
void PrintTo(const Sample& sample, std::ostream* out) { *out << sample.file; }

std::string GoldenPath(const std::string& name) { return std::string(KERV_TEST_DATA_DIR) + "/golden/" + name; }

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// Rows as the line store holds them: CR LF, CR and LF each end one.
std::vector<std::string> SplitRows(const std::string& text) {
  std::vector<std::string> rows;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      rows.push_back(text.substr(start));
      break;
    }
    rows.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return rows;
}

std::string TokenListing(const std::vector<std::string>& rows, const TEditorViewInfo& view) {
  std::ostringstream out;
  int state = -1;
  for (size_t row = 0; row < rows.size(); ++row) {
    ParseResult result = Parse(&TEditorParser::Create, rows[row], state, &view);
    out << row << " [" << state << "]";
    for (const Token& token : result.tokens) {
      out << ' ' << TokenKindName(token.kind) << '@' << token.pos << '+' << token.text.size();
    }
    out << " [" << result.endState << "]\n";
    state = result.endState;
  }
  return out.str();
}

class GoldenTest : public ::testing::TestWithParam<Sample> {};

TEST_P(GoldenTest, TokensMatchTheExpectation) {
  const Sample& sample = GetParam();
  std::string text;
  ASSERT_TRUE(ReadFile(GoldenPath(sample.file), text)) << sample.file;
  std::unique_ptr<TEditorViewInfo> view = MakeViewInfo(sample.options);
  const std::string actual = TokenListing(SplitRows(text), *view);

  const std::string expectedPath = GoldenPath(std::string(sample.file) + ".tokens");
  const std::string actualPath = GoldenPath(std::string(sample.file) + ".actual");
  const char* update = std::getenv("KERV_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") WriteFile(expectedPath, actual);

  std::string expected;
  const bool haveExpected = ReadFile(expectedPath, expected);
  if (!haveExpected || actual != expected) {
    WriteFile(actualPath, actual);
    FAIL() << sample.file << (haveExpected ? ": tokens differ from the expectation" : ": no expectation")
           << "; see " << actualPath;
  }
  std::remove(actualPath.c_str());
}

INSTANTIATE_TEST_SUITE_P(Samples, GoldenTest, ::testing::ValuesIn(kSamples),
                         [](const ::testing::TestParamInfo<Sample>& info) {
                           std::string name = info.param.file;
                           for (char& c : name) {
                             if (c == '.') c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace kerv::test
