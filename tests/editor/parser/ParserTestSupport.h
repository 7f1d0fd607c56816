#pragma once
// Shared by the parser tests: view options written as a literal, and a
// parser run collected into a list of tokens.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editor/TEditorParser.h"
#include "editor/TEditorViewInfo.h"

namespace kerv::test {

struct ViewOptions {
  std::string commenter{};
  std::string quotation{};
  std::string hexPrefix{};
  bool mail = false;
  bool url = false;
  bool controlCode = false;
  std::vector<std::pair<std::string, std::string>> brackets{};  // left, right
};

std::unique_ptr<TEditorViewInfo> MakeViewInfo(const ViewOptions& options);

struct Token {
  TTokenKind kind;
  int pos;  // 0-based byte index
  std::string text;
  bool operator==(const Token& other) const { return kind == other.kind && pos == other.pos && text == other.text; }
};

struct ParseResult {
  std::vector<Token> tokens;
  int endState;
};

// Loops the parser to tkEnd; fails the test if a token does not advance.
ParseResult Collect(TEditorParser& parser);
ParseResult Parse(TEditorParserFactory factory, const std::string& text, int startState, const TEditorViewInfo* viewInfo);

std::string Describe(const std::vector<Token>& tokens);

}  // namespace kerv::test
