#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ParserTestSupport.h"
#include "editor/TEditorParser.h"
#include "editor/TKervEditorParser.h"

namespace kerv::test {
namespace {

// Shift_JIS pieces used below.
#define HIRA_A "\x82\xA0"    // あ
#define HIRA_I "\x82\xA2"    // い
#define HIRA_U "\x82\xA4"    // う
#define KATA_A "\x83\x41"    // ア
#define KATA_I "\x83\x43"    // イ
#define KATA_TI "\x83\x60"   // チ (trail byte is '`')
#define KATA_SO "\x83\x5C"   // ソ (trail byte is '\')
#define CHOON "\x81\x5B"     // ー
#define MINUS "\x81\x7C"     // －
#define KAN "\x8A\xBF"       // 漢
#define JI "\x8E\x9A"        // 字
#define TOUTEN "\x81\x41"    // 、
#define KAGI_L "\x81\x75"    // 「
#define KAGI_R "\x81\x76"    // 」
#define WIDE_1 "\x82\x50"    // １
#define WIDE_2 "\x82\x51"    // ２
#define WIDE_COMMA "\x81\x43"  // ，
#define WIDE_POINT "\x81\x44"  // ．
#define WIDE_A "\x82\x60"    // Ａ
#define WIDE_z "\x82\x9A"    // ｚ
#define ALPHA "\x83\xBF"     // α
#define BETA "\x83\xC0"      // β
#define BOX "\x84\x9F"       // ─
#define CIRCLED_1 "\x87\x40"  // ①

using Expected = std::vector<std::pair<TTokenKind, std::string>>;

enum class Parser { Base, Kerv };

struct Case {
  const char* name;
  std::string text;
  Expected tokens;
  std::optional<ViewOptions> options = std::nullopt;  // none: no editor
  int startState = -1;
  int endState = -1;  // checked only with options
  Parser parser = Parser::Base;
};

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TEditorViewInfo> view;
    if (c.options) view = MakeViewInfo(*c.options);
    ParseResult result;
    if (view == nullptr) {
      // The creation without an editor, as the line-drawing handler makes it.
      if (c.parser == Parser::Kerv) {
        TKervEditorParser parser(c.text.data(), c.text.size());
        result = Collect(parser);
      } else {
        TEditorParser parser(c.text.data(), c.text.size());
        result = Collect(parser);
      }
    } else {
      TEditorParserFactory factory =
          c.parser == Parser::Kerv ? &CreateEditorParser<TKervEditorParser> : &CreateEditorParser<TEditorParser>;
      result = Parse(factory, c.text, c.startState, view.get());
      EXPECT_EQ(result.endState, c.endState);
    }
    std::vector<Token> expected;
    size_t from = 0;
    for (const auto& [kind, text] : c.tokens) {
      size_t pos = c.text.find(text, from);
      ASSERT_NE(pos, std::string::npos) << "bad case: " << text;
      expected.push_back({kind, static_cast<int>(pos), text});
      from = pos + text.size();
    }
    EXPECT_EQ(Describe(result.tokens), Describe(expected));
  }
}

TEST(TEditorParserTest, FirstByteClassesWithoutEditor) {
  RunCases({
      {"word, real, hiragana", "abc 12.5 " HIRA_A HIRA_I HIRA_U,
       {{tkWord, "abc"}, {tkReal, "12.5"}, {tkHiragana, HIRA_A HIRA_I HIRA_U}}},
      {"kerv parser returns spaces", "abc 12.5 " HIRA_A HIRA_I HIRA_U,
       {{tkWord, "abc"}, {tkSymbol, " "}, {tkReal, "12.5"}, {tkSymbol, " "}, {tkHiragana, HIRA_A HIRA_I HIRA_U}},
       std::nullopt, -1, -1, Parser::Kerv},
      {"tabs are tokens", "\ta\t", {{tkTab, "\t"}, {tkWord, "a"}, {tkTab, "\t"}}},
      {"kerv tabs", "\t \t", {{tkTab, "\t"}, {tkSymbol, " "}, {tkTab, "\t"}}, std::nullopt, -1, -1, Parser::Kerv},
      {"control bytes are blanks", "\x01" "a\x08\x0B\x1F" "b", {{tkWord, "a"}, {tkWord, "b"}}},
      {"kerv skips control bytes", "\x01" "a\x1F" "b", {{tkWord, "a"}, {tkWord, "b"}}, std::nullopt, -1, -1,
       Parser::Kerv},
      {"integer", "123", {{tkInteger, "123"}}},
      {"fraction", "3.14", {{tkReal, "3.14"}}},
      {"point before a space is left out, yet real", "12. x", {{tkReal, "12"}, {tkSymbol, "."}, {tkWord, "x"}}},
      {"point before a letter", "12.x", {{tkReal, "12"}, {tkSymbol, "."}, {tkWord, "x"}}},
      {"point then exponent", "12.e5", {{tkReal, "12.e5"}}},
      {"signed exponent", "1e+5 2E-3 3.5e7", {{tkReal, "1e+5"}, {tkReal, "2E-3"}, {tkReal, "3.5e7"}}},
      {"bare exponent letter", "1E", {{tkReal, "1E"}}},
      {"second point ends the number", "1.2.3", {{tkReal, "1.2"}, {tkSymbol, "."}, {tkInteger, "3"}}},
      {"digits then letters", "12abc", {{tkInteger, "12"}, {tkWord, "abc"}}},
      {"words", "_a1 b_2 x-y", {{tkWord, "_a1"}, {tkWord, "b_2"}, {tkWord, "x"}, {tkSymbol, "-"}, {tkWord, "y"}}},
      {"hiragana run takes the long vowel", HIRA_A HIRA_I CHOON, {{tkHiragana, HIRA_A HIRA_I CHOON}}},
      {"katakana run takes the full-width minus", KATA_A KATA_I MINUS, {{tkKatakana, KATA_A KATA_I MINUS}}},
      {"long vowel alone is a symbol", CHOON HIRA_A, {{tkWideSymbol, CHOON}, {tkHiragana, HIRA_A}}},
      {"kanji", KAN JI, {{tkKanji, KAN JI}}},
      {"class changes split runs", HIRA_A KATA_A KAN,
       {{tkHiragana, HIRA_A}, {tkKatakana, KATA_A}, {tkKanji, KAN}}},
      {"half-width kana", "\xB1\xB2\xB3\xB4", {{tkHalfKana, "\xB1\xB2\xB3\xB4"}}},
      {"half-width punctuation", "\xA1\xA2\xB1\xA3",
       {{tkHalfKanaSymbol, "\xA1"}, {tkHalfKanaSymbol, "\xA2"}, {tkHalfKana, "\xB1"}, {tkHalfKanaSymbol, "\xA3"}}},
      {"wide digits with comma and point", WIDE_1 WIDE_COMMA WIDE_2 WIDE_POINT WIDE_1,
       {{tkWideDigits, WIDE_1 WIDE_COMMA WIDE_2 WIDE_POINT WIDE_1}}},
      {"wide letters", WIDE_A WIDE_z, {{tkWideLetters, WIDE_A WIDE_z}}},
      {"greek run", ALPHA BETA, {{tkWideSymbol, ALPHA BETA}}},
      {"rows 0x84-0x87 run", BOX CIRCLED_1 HIRA_A, {{tkWideSymbol, BOX CIRCLED_1}, {tkHiragana, HIRA_A}}},
      {"0x81 symbols one by one", TOUTEN TOUTEN, {{tkWideSymbol, TOUTEN}, {tkWideSymbol, TOUTEN}}},
      {"other single bytes", "\x7F\x80\xA0\xFD\xFF+",
       {{tkSymbol, "\x7F"}, {tkSymbol, "\x80"}, {tkSymbol, "\xA0"}, {tkSymbol, "\xFD"}, {tkSymbol, "\xFF"},
        {tkSymbol, "+"}}},
  });
}

// Sequences that no rule names must still advance, and nothing is read past
// the end of the text.
TEST(TEditorParserTest, UnassignedCodesAndTextEnds) {
  RunCases({
      {"unassigned 0x82 codes", "\x82\x40\x82\x59", {{tkWideSymbol, "\x82\x40"}, {tkWideSymbol, "\x82\x59"}}},
      {"unassigned 0x83 codes", "\x83\x97\x83\xFC", {{tkWideSymbol, "\x83\x97"}, {tkWideSymbol, "\x83\xFC"}}},
      {"lead byte at the end is one byte", "a\x88", {{tkWord, "a"}, {tkWideSymbol, "\x88"}}},
      {"kanji run stops before a cut character", KAN "\x88", {{tkKanji, KAN}, {tkWideSymbol, "\x88"}}},
      {"lead byte before CR", "\x82\rX", {{tkWideSymbol, "\x82"}}},
      {"CR ends the text", "ab\rcd", {{tkWord, "ab"}}},
      {"LF ends the text", "ab\ncd", {{tkWord, "ab"}}},
      {"NUL ends the text", std::string("ab\0cd", 5), {{tkWord, "ab"}}},
      {"kerv parser stops at CR too", "a \r b", {{tkWord, "a"}, {tkSymbol, " "}}, std::nullopt, -1, -1,
       Parser::Kerv},
      {"empty text", "", {}},
      {"blanks only", " \x01 ", {}},
  });
}

TEST(TEditorParserTest, ExplicitLengthIsTheEnd) {
  // The buffer goes on, but the parser must stop at the length it was given.
  const char buffer[] = "\x82\xA0\x82\xA2" "abc";
  TEditorParser parser(buffer, 3);
  EXPECT_EQ(parser.Token(), tkHiragana);
  EXPECT_EQ(parser.TokenString(), "\x82\xA0");
  parser.NextToken();
  EXPECT_EQ(parser.Token(), tkWideSymbol);
  EXPECT_EQ(parser.TokenString(), "\x82");
  parser.NextToken();
  EXPECT_EQ(parser.Token(), tkEnd);
  EXPECT_EQ(parser.Position(), 3);
  parser.NextToken();  // stays at the end
  EXPECT_EQ(parser.Token(), tkEnd);
  EXPECT_EQ(parser.TokenPos(), 3);
}

TEST(TEditorParserTest, ViewOptionRules) {
  const ViewOptions comment{.commenter = "//"};
  const ViewOptions quote{.quotation = "'"};
  const ViewOptions hex{.hexPrefix = "$"};
  const ViewOptions hex0x{.hexPrefix = "0x"};
  const ViewOptions mail{.mail = true};
  const ViewOptions url{.url = true};
  const ViewOptions control{.controlCode = true};
  RunCases({
      {"line comment", "abc //x y", {{tkWord, "abc"}, {tkComment, "//x y"}}, comment},
      {"comment ends at CR", "a//b\rc", {{tkWord, "a"}, {tkComment, "//b"}}, comment},
      {"doubled quote", "'ab''c' word", {{tkString, "'ab''c'"}, {tkWord, "word"}}, quote},
      {"empty string", "''x", {{tkString, "''"}, {tkWord, "x"}}, quote},
      {"unclosed string runs to the end", "a 'b c", {{tkWord, "a"}, {tkString, "'b c"}}, quote},
      {"trail byte equal to the quote does not close", "`" KATA_TI "`x", {{tkString, "`" KATA_TI "`"}, {tkWord, "x"}},
       ViewOptions{.quotation = "`"}},
      {"hex prefix and digits", "$1Fa", {{tkInteger, "$1Fa"}}, hex},
      {"hex prefix alone", "$ $g", {{tkInteger, "$"}, {tkInteger, "$"}, {tkWord, "g"}}, hex},
      {"hex prefix before decimal", "0x1fz 0", {{tkInteger, "0x1f"}, {tkWord, "z"}, {tkInteger, "0"}}, hex0x},
      {"mail address", "x abc.def@ghi.jkl", {{tkWord, "x"}, {tkMail, "abc.def@ghi.jkl"}}, mail},
      {"mail takes trailing set bytes", "a.b@c.d,", {{tkMail, "a.b@c.d,"}}, mail},
      {"no point after @", "abc@def", {{tkWord, "abc"}, {tkSymbol, "@"}, {tkWord, "def"}}, mail},
      {"point only before @", "a.b@c",
       {{tkWord, "a"}, {tkSymbol, "."}, {tkWord, "b"}, {tkSymbol, "@"}, {tkWord, "c"}}, mail},
      {"run starting with @", "@abc.de",
       {{tkSymbol, "@"}, {tkWord, "abc"}, {tkSymbol, "."}, {tkWord, "de"}}, mail},
      {"mail after an @", "@a@b.c", {{tkSymbol, "@"}, {tkMail, "a@b.c"}}, mail},
      {"mail off", "a@b.c", {{tkWord, "a"}, {tkSymbol, "@"}, {tkWord, "b"}, {tkSymbol, "."}, {tkWord, "c"}}},
      {"https url", "https://a.b/c?d=e f", {{tkUrl, "https://a.b/c?d=e"}, {tkWord, "f"}}, url},
      {"capital prefix is no url", "HTTPS://x",
       {{tkWord, "HTTPS"}, {tkSymbol, ":"}, {tkSymbol, "/"}, {tkSymbol, "/"}, {tkWord, "x"}}, url},
      {"other prefixes", "ftp:x http:y www.z", {{tkUrl, "ftp:x"}, {tkUrl, "http:y"}, {tkUrl, "www.z"}}, url},
      {"prefix letters alone", "http www", {{tkWord, "http"}, {tkWord, "www"}}, url},
      {"mail before url", "www.a@b.c", {{tkMail, "www.a@b.c"}}, ViewOptions{.mail = true, .url = true}},
      {"control codes", "#$1F #12 #x",
       {{tkString, "#$1F"}, {tkString, "#12"}, {tkString, "#"}, {tkWord, "x"}}, control},
      {"control code off", "#12", {{tkSymbol, "#"}, {tkInteger, "12"}}, ViewOptions{}},
  });
}

TEST(TEditorParserTest, BracketPairs) {
  const ViewOptions block{.brackets = {{"/*", "*/"}}};
  const ViewOptions symmetric{.brackets = {{"\"", "\""}}};
  RunCases({
      {"left bracket opens to the row end", "abc /*def", {{tkWord, "abc"}, {tkBracket, "/*def"}}, block, -1, 0},
      {"next row closes it", "gh*/ x", {{tkBracket, "gh*/"}, {tkWord, "x"}}, block, 0, -1},
      {"row wholly inside", "a b", {{tkBracket, "a b"}}, block, 0, 0},
      {"word cut at the left bracket", "abc/*d", {{tkWord, "abc"}, {tkBracket, "/*d"}}, block, -1, 0},
      {"closed on the same row", "/* a */b", {{tkBracket, "/* a */"}, {tkWord, "b"}}, block, -1, -1},
      {"no brackets while not computed", "/*a", {{tkSymbol, "/"}, {tkSymbol, "*"}, {tkWord, "a"}}, block, -2, -2},
      {"state for a pair that is gone", "/*a", {{tkBracket, "/*a"}}, block, 7, 0},
      {"closing symmetric quote does not reopen", "abc\" x", {{tkBracket, "abc\""}, {tkWord, "x"}}, symmetric, 0,
       -1},
      {"symmetric pair on one row", "x\"a\"y", {{tkWord, "x"}, {tkBracket, "\"a\""}, {tkWord, "y"}}, symmetric, -1,
       -1},
      {"right bracket found character-wise", "(" KATA_SO "\\)", {{tkBracket, "(" KATA_SO "\\"}, {tkSymbol, ")"}},
       ViewOptions{.brackets = {{"(", "\\"}}}, -1, -1},
      {"left bracket searched character-wise", "//" KATA_SO "x", {{tkComment, "//" KATA_SO "x"}},
       ViewOptions{.commenter = "//", .brackets = {{"\\x", "y"}}}, -1, -1},
      {"bracket inside a line comment", "// a /* b", {{tkComment, "// a "}, {tkBracket, "/* b"}},
       ViewOptions{.commenter = "//", .brackets = {{"/*", "*/"}}}, -1, 0},
      {"earliest left bracket of any pair cuts", "// a /* b { c", {{tkComment, "// a "}, {tkBracket, "/* b { c"}},
       ViewOptions{.commenter = "//", .brackets = {{"{", "}"}, {"/*", "*/"}}}, -1, 1},
      {"pairs tried in collection order", "<!-- x", {{tkBracket, "<!-- x"}},
       ViewOptions{.brackets = {{"<", ">"}, {"<!--", "-->"}}}, -1, 0},
      {"empty right bracket closes at the row end", "a #! b", {{tkWord, "a"}, {tkBracket, "#! b"}},
       ViewOptions{.brackets = {{"#!", ""}}}, -1, -1},
      {"empty right bracket from inside", "xyz", {{tkBracket, "xyz"}}, ViewOptions{.brackets = {{"#!", ""}}}, 0, -1},
      {"double-byte brackets", HIRA_A KAGI_L HIRA_I KAGI_R HIRA_U,
       {{tkHiragana, HIRA_A}, {tkBracket, KAGI_L HIRA_I KAGI_R}, {tkHiragana, HIRA_U}},
       ViewOptions{.brackets = {{KAGI_L, KAGI_R}}}, -1, -1},
      {"kerv parser with brackets", "a /*", {{tkWord, "a"}, {tkSymbol, " "}, {tkBracket, "/*"}}, block, -1, 0,
       Parser::Kerv},
  });
}

TEST(TEditorParserTest, BracketIndexNamesTheLastBracketPair) {
  auto view = MakeViewInfo({.brackets = {{"{", "}"}, {"(*", "*)"}}});
  TEditorParser parser("a (* b *) c", 11, -1, view.get());
  EXPECT_EQ(parser.BracketIndex(), -2);
  parser.NextToken();
  EXPECT_EQ(parser.Token(), tkBracket);
  EXPECT_EQ(parser.BracketIndex(), 1);
  EXPECT_EQ(parser.BracketState(), -1);
  parser.NextToken();
  EXPECT_EQ(parser.Token(), tkWord);
  EXPECT_EQ(parser.BracketIndex(), 1);

  TEditorParser inside("x } y", 5, 0, view.get());
  EXPECT_EQ(inside.Token(), tkBracket);
  EXPECT_EQ(inside.BracketIndex(), 0);
}

TEST(TEditorParserTest, TextOnlyCreationHasNoEditor) {
  TEditorParser parser("a", 1);
  EXPECT_EQ(parser.ViewInfo(), nullptr);
  EXPECT_EQ(parser.BracketState(), 0);
  // Without view options even a "/*" is plain symbols.
  ParseResult result = Parse(&TEditorParser::Create, "/*", 0, nullptr);
  EXPECT_EQ(Describe(result.tokens), "tkSymbol@0[/] tkSymbol@1[*] ");
}

TEST(TEditorParserTest, FactoryChoosesTheParserClass) {
  // The first token, scanned while constructing, already uses the derived SkipBlanks.
  TEditorParserFactory factory = &TKervEditorParser::Create;
  std::unique_ptr<TEditorParser> parser = factory(" a", 2, -1, nullptr);
  EXPECT_EQ(parser->Token(), tkSymbol);
  EXPECT_EQ(parser->TokenString(), " ");
  parser = TEditorParser::Create(" a", 2, -1, nullptr);
  EXPECT_EQ(parser->Token(), tkWord);
  EXPECT_EQ(parser->TokenPos(), 1);
}

TEST(TEditorParserTest, LongRowsOfMailSetBytesStayLinear) {
  // Every token start lies inside one long run; a rescan per token would be quadratic.
  std::string row;
  for (int i = 0; i < 100000; ++i) row += "a.";
  row += "x@y.z";
  auto view = MakeViewInfo({.mail = true});
  ParseResult result = Parse(&TEditorParser::Create, row, -1, view.get());
  ASSERT_EQ(result.tokens.size(), 1u);
  EXPECT_EQ(result.tokens[0].kind, tkMail);

  row.resize(row.size() - 5);
  result = Parse(&TEditorParser::Create, row, -1, view.get());
  EXPECT_EQ(result.tokens.size(), 200000u);
}

TEST(TEditorParserTest, MailInsideARunAfterACutToken) {
  // The first address is cut by a one-byte bracket pair; the second starts
  // inside the same run of mail-set bytes and must still be found.
  auto view = MakeViewInfo({.mail = true, .brackets = {{"-", "-"}}});
  ParseResult result = Parse(&TEditorParser::Create, "a@b.c-x-d@e.f", -1, view.get());
  EXPECT_EQ(Describe(result.tokens), "tkMail@0[a@b.c] tkBracket@5[-x-] tkMail@8[d@e.f] ");
}

TEST(TEditorParserTest, StatesForEveryPairIndex) {
  // Fifty pairs "<0:" .. "<49:" closed by ":0>" .. ":49>": every index up to 49 is a state.
  ViewOptions options;
  for (int i = 0; i < 50; ++i) {
    // Appended piece by piece: g++ 12 at -O3 warns falsely (-Wrestrict) on "<" + string.
    std::string number = std::to_string(i);
    options.brackets.emplace_back(std::string("<").append(number).append(":"), std::string(":").append(number).append(">"));
  }
  auto view = MakeViewInfo(options);
  ParseResult opened = Parse(&TEditorParser::Create, "a <49: b", -1, view.get());
  EXPECT_EQ(opened.endState, 49);
  ParseResult closed = Parse(&TEditorParser::Create, "c :49> d", 49, view.get());
  EXPECT_EQ(Describe(closed.tokens), "tkBracket@0[c :49>] tkWord@7[d] ");
  EXPECT_EQ(closed.endState, -1);
  TEditorParser inside("x :48> y", 8, 49, view.get());
  EXPECT_EQ(inside.BracketIndex(), 49);
  EXPECT_EQ(inside.TokenString(), "x :48> y");
}

TEST(TEditorParserTest, TokenColorsAndReserveWordKinds) {
  auto view = MakeViewInfo({.brackets = {{"/*", "*/"}}});
  const TEditorColors& colors = view->Colors();
  const struct {
    TTokenKind kind;
    const TEditorColor* color;
    bool reserve;
  } cases[] = {
      {tkSymbol, &colors.Symbol(), true},   {tkString, &colors.Str(), false},   {tkInteger, &colors.Int(), false},
      {tkReal, &colors.Int(), false},       {tkComment, &colors.Comment(), false}, {tkWord, &colors.Ank(), true},
      {tkTab, nullptr, false},              {tkEnd, nullptr, false},            {tkWideSymbol, &colors.DBCS(), true},
      {tkWideDigits, &colors.DBCS(), true}, {tkWideLetters, &colors.DBCS(), true}, {tkHiragana, &colors.DBCS(), true},
      {tkKatakana, &colors.DBCS(), true},   {tkKanji, &colors.DBCS(), true},    {tkHalfKanaSymbol, &colors.DBCS(), true},
      {tkHalfKana, &colors.DBCS(), true},   {tkUrl, &colors.Url(), true},       {tkMail, &colors.Mail(), true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TokenColor(*view, c.kind, -2), c.color) << TokenKindName(c.kind);
    EXPECT_EQ(MayBeReserveWord(c.kind), c.reserve) << TokenKindName(c.kind);
  }
  EXPECT_EQ(TokenColor(*view, tkBracket, 0), &view->Brackets().Items(0).ItemColor());
  EXPECT_EQ(TokenColor(*view, tkBracket, 1), nullptr);
  EXPECT_EQ(TokenColor(*view, tkBracket, -2), nullptr);
}

}  // namespace
}  // namespace kerv::test
