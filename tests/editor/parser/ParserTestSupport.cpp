#include "ParserTestSupport.h"

#include <gtest/gtest.h>

namespace kerv::test {

std::unique_ptr<TEditorViewInfo> MakeViewInfo(const ViewOptions& options) {
  auto view = std::make_unique<TEditorViewInfo>();
  view->SetCommenter(options.commenter);
  view->SetQuotation(options.quotation);
  view->SetHexPrefix(options.hexPrefix);
  view->SetMail(options.mail);
  view->SetUrl(options.url);
  view->SetControlCode(options.controlCode);
  for (const auto& [left, right] : options.brackets) {
    TEditorBracketItem& item = view->Brackets().Add();
    item.SetLeftBracket(left);
    item.SetRightBracket(right);
  }
  return view;
}

ParseResult Collect(TEditorParser& parser) {
  ParseResult result;
  int lastEnd = 0;
  while (parser.Token() != tkEnd) {
    if (parser.TokenLength() <= 0 || parser.TokenPos() < lastEnd) {
      ADD_FAILURE() << "token at " << parser.TokenPos() << " does not advance";
      break;
    }
    lastEnd = parser.Position();
    result.tokens.push_back({parser.Token(), parser.TokenPos(), parser.TokenString()});
    parser.NextToken();
  }
  result.endState = parser.BracketState();
  return result;
}

ParseResult Parse(TEditorParserFactory factory, const std::string& text, int startState, const TEditorViewInfo* viewInfo) {
  std::unique_ptr<TEditorParser> parser = factory(text.data(), text.size(), startState, viewInfo);
  return Collect(*parser);
}

std::string Describe(const std::vector<Token>& tokens) {
  std::string out;
  for (const Token& token : tokens) {
    out += std::string(TokenKindName(token.kind)) + "@" + std::to_string(token.pos) + "[";
    for (unsigned char c : token.text) {
      if (c >= 0x20 && c < 0x7F) {
        out += static_cast<char>(c);
      } else {
        static const char kHex[] = "0123456789ABCDEF";
        out += "\\x";
        out += kHex[c >> 4];
        out += kHex[c & 15];
      }
    }
    out += "] ";
  }
  return out;
}

}  // namespace kerv::test
