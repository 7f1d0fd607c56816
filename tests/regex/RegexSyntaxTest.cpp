// Scanner, parser, parse trees and the fuzzy pre-processing.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "regex/ERegExpParser.h"
#include "regex/RECharacter.h"
#include "regex/TREFuzzyCharDic.h"
#include "regex/TREParser.h"
#include "regex/TREPreProcessor.h"
#include "regex/TREScanner.h"
#include "tests/regex/RegexTestSupport.h"

namespace kerv {
namespace {

using test::S;

// ---- characters ----

TEST(RECharacterTest, QuoteMetaEscapesMetaCharactersButNeverTrailBytes) {
  EXPECT_EQ(QuoteMeta("^(|)+*?.[]$\\"), "\\^\\(\\|\\)\\+\\*\\?\\.\\[\\]\\$\\\\");
  EXPECT_EQ(QuoteMeta("a{b}-c"), "a{b}-c");
  // ソ and 表 end in 0x5C, which is a trail byte and stays alone.
  EXPECT_EQ(QuoteMeta("\x83\x5C\x95\x5C"), "\x83\x5C\x95\x5C");
  EXPECT_EQ(QuoteMeta("\x83\x5C\\"), "\x83\x5C\\\\");
  EXPECT_EQ(QuoteMeta("a\x83"), "a\x83");  // a cut-off lead byte is copied
}

TEST(RECharacterTest, PrevCharPositionPairsLeadBytesFromTheStart) {
  struct Case {
    std::string text;
    int position, expected;
  } cases[] = {
      {"ab", 3, 2},
      {"\x82\xA0", 3, 1},          // あ
      {"\x82\x82\xA0", 4, 3},      // lead+trail 0x82 0x82, then the single byte 0xA0
      {"a\x83\x5C", 4, 2},         // ソ after a
      {"\x83\x5C\\", 4, 3},        // the backslash after ソ is its own character
      {"\x81\x81\x81\x81", 5, 3},  // two characters of lead-valued bytes
      {"x", 1, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(REPrevCharPosition(c.text, c.position), c.expected) << c.text;
}

// ---- scanner ----

struct Token {
  TRETokenType type;
  int code;
  int upper;
  bool operator==(const Token&) const = default;
};

std::vector<Token> Tokens(const std::string& pattern) {
  TREScanner scanner(pattern);
  std::vector<Token> tokens;
  while (true) {
    TRETokenType type = scanner.GetToken();
    tokens.push_back({type, type == retkChar || type == retkRange ? scanner.Code() : 0,
                      type == retkRange ? scanner.UpperBound() : 0});
    if (type == retkEnd) return tokens;
  }
}

TEST(TREScannerTest, TokensOutsideAndInsideBrackets) {
  struct Case {
    std::string pattern;
    std::vector<Token> tokens;
  } cases[] = {
      {"a|(b)*+?.^$", {{retkChar, 'a', 0}, {retkUnion, 0, 0}, {retkLPar, 0, 0}, {retkChar, 'b', 0}, {retkRPar, 0, 0},
                       {retkStar, 0, 0}, {retkPlus, 0, 0}, {retkQuest, 0, 0}, {retkDot, 0, 0}, {retkLHead, 0, 0},
                       {retkLTail, 0, 0}, {retkEnd, 0, 0}}},
      {"{-}]", {{retkChar, '{', 0}, {retkChar, '-', 0}, {retkChar, '}', 0}, {retkRBra, 0, 0}, {retkEnd, 0, 0}}},
      {"[^a-c]", {{retkNegLBra, 0, 0}, {retkRange, 'a', 'c'}, {retkRBra, 0, 0}, {retkEnd, 0, 0}}},
      {"[a-]", {{retkLBra, 0, 0}, {retkChar, 'a', 0}, {retkChar, '-', 0}, {retkRBra, 0, 0}, {retkEnd, 0, 0}}},
      {"[]", {{retkLBra, 0, 0}, {retkRBra, 0, 0}, {retkEnd, 0, 0}}},
      {"[a-\\x7a]", {{retkLBra, 0, 0}, {retkRange, 'a', 'z'}, {retkRBra, 0, 0}, {retkEnd, 0, 0}}},
      {"[\\]-\\^]", {{retkLBra, 0, 0}, {retkRange, ']', '^'}, {retkRBra, 0, 0}, {retkEnd, 0, 0}}},
      {"[[^*]", {{retkLBra, 0, 0}, {retkChar, '[', 0}, {retkChar, '^', 0}, {retkChar, '*', 0}, {retkRBra, 0, 0},
                 {retkEnd, 0, 0}}},
      {"[a\\-z]", {{retkLBra, 0, 0}, {retkChar, 'a', 0}, {retkChar, '-', 0}, {retkChar, 'z', 0}, {retkRBra, 0, 0},
                   {retkEnd, 0, 0}}},
      {S("[ぁ-ん]"), {{retkLBra, 0, 0}, {retkRange, 0x829F, 0x82F1}, {retkRBra, 0, 0}, {retkEnd, 0, 0}}},
      // A trail byte 0x5C is part of its character, never an escape.
      {S("ソ*表"), {{retkChar, 0x835C, 0}, {retkStar, 0, 0}, {retkChar, 0x955C, 0}, {retkEnd, 0, 0}}},
      {S("[ソ]"), {{retkLBra, 0, 0}, {retkChar, 0x835C, 0}, {retkRBra, 0, 0}, {retkEnd, 0, 0}}},
  };
  for (const Case& c : cases) EXPECT_EQ(Tokens(c.pattern), c.tokens) << c.pattern;
}

TEST(TREScannerTest, Escapes) {
  struct Case {
    std::string pattern;
    std::vector<int> codes;
  } cases[] = {
      {"\\b\\n\\r\\t", {8, 10, 13, 9}},
      {"\\x0041", {'A'}},
      {"\\x00414", {'A', '4'}},  // at most four hexadecimal digits
      {"\\x41G", {'A', 'G'}},
      {"\\xfF", {0xFF}},
      {"\\xFFFF", {0xFFFF}},
      {"\\101", {'A'}},
      {"\\0", {0}},
      {"\\08", {0, '8'}},
      {"\\1234567", {0123456, '7'}},  // at most six octal digits
      {"\\177777", {0xFFFF}},
      {"\\d\\\\\\.\\[\\*", {'d', '\\', '.', '[', '*'}},
      {S("\\あ"), {0x82A0}},
  };
  for (const Case& c : cases) {
    std::vector<int> codes;
    for (const Token& t : Tokens(c.pattern)) {
      if (t.type == retkChar) codes.push_back(t.code);
    }
    EXPECT_EQ(codes, c.codes) << c.pattern;
  }
}

TEST(TREScannerTest, SetRegExpStartsOverOutsideBrackets) {
  TREScanner scanner("[ab");
  scanner.GetToken();
  EXPECT_TRUE(scanner.InBracket());
  EXPECT_THROW(while (scanner.GetToken() != retkEnd) {}, ERegExpParser);
  scanner.SetRegExp("*");
  EXPECT_FALSE(scanner.InBracket());
  EXPECT_EQ(scanner.Position(), 1);
  EXPECT_EQ(scanner.GetToken(), retkStar);
}

// ---- errors: every message with its position ----

struct ErrorCase {
  std::string pattern;
  ERegexMessage message;
  int position;
};

void ExpectParseError(const ErrorCase& c) {
  try {
    TREParser parser(c.pattern);
    parser.Run();
    ADD_FAILURE() << "no error for " << c.pattern;
  } catch (const ERegExpParser& e) {
    EXPECT_EQ(e.Message(), c.message) << c.pattern;
    EXPECT_STREQ(e.what(), RegexMessage(c.message)) << c.pattern;
    EXPECT_EQ(e.ErrorPosition(), c.position) << c.pattern;
  }
}

TEST(TREParserTest, EveryErrorWithItsPosition) {
  const ErrorCase cases[] = {
      {"a\x82", ERegexMessage::BadDoubleByteChar, 2},
      {"[\x82", ERegexMessage::BadDoubleByteChar, 2},
      {"ab\\", ERegexMessage::NeedCharAfterBackslash, 4},
      {"\x83\x5C\\", ERegexMessage::NeedCharAfterBackslash, 4},  // ソ then a real backslash
      {"\\xG", ERegexMessage::BadHexCode, 3},
      {"\\x", ERegexMessage::BadHexCode, 3},
      {"[\\x]", ERegexMessage::BadHexCode, 4},
      {"\\200000", ERegexMessage::BadOctalCode, 8},
      {"\\777777", ERegexMessage::BadOctalCode, 8},
      {"[", ERegexMessage::NeedRightBracket, 2},
      {"[ab", ERegexMessage::NeedRightBracket, 4},
      {"[a-", ERegexMessage::NeedRightBracket, 4},
      {"[^", ERegexMessage::NeedRightBracket, 3},
      {"[z-a]", ERegexMessage::BadCharRange, 5},
      {S("[ん-あ]"), ERegexMessage::BadCharRange, 7},
      {"[]a]", ERegexMessage::BadCharClass, 3},
      {"[^]", ERegexMessage::BadCharClass, 4},
      {"(a", ERegexMessage::NeedRightParen, 3},
      {"((a)", ERegexMessage::NeedRightParen, 5},
      {"a**", ERegexMessage::NeedCharOrLeftParen, 4},
      {"a+?", ERegexMessage::NeedCharOrLeftParen, 4},
      {"*", ERegexMessage::NeedCharOrLeftParen, 2},
      {"a|*", ERegexMessage::NeedCharOrLeftParen, 4},
      {"a)", ERegexMessage::ExtraChars, 3},
      {"a]", ERegexMessage::NeedCharOrLeftParen, 3},
  };
  for (const ErrorCase& c : cases) ExpectParseError(c);

  EXPECT_STREQ(RegexMessage(ERegexMessage::NeedCharAfterBackslash), "\"\\\"の次には文字が必要です。");
  EXPECT_STREQ(RegexMessage(ERegexMessage::NeedRightBracket), "右ブラケット\"]\"が必要です");
  EXPECT_STREQ(RegexMessage(ERegexMessage::NeedCharOrLeftParen), "普通の文字、または左括弧\"(\"が必要です");
}

TEST(TREParserTest, DeepNestingIsRefusedWithAPosition) {
  const int depth = TREParser::kMaxNesting;
  std::string ok = std::string(depth, '(') + "a" + std::string(depth, ')');
  EXPECT_NO_THROW(TREParser(ok).Run());
  ExpectParseError({std::string(depth + 1, '(') + "a" + std::string(depth + 1, ')'), ERegexMessage::NestingTooDeep,
                    depth + 2});
  ExpectParseError({std::string(100000, '('), ERegexMessage::NestingTooDeep, depth + 2});
}

TEST(TREParserTest, PatternsThatWouldExplodeAreRefused) {
  // Each "+" copies its operand; nested twenty times that is a million copies.
  std::string pattern = "a";
  for (int i = 0; i < 24; ++i) pattern = "(" + pattern + ")+";
  try {
    TREParser(pattern).Run();
    ADD_FAILURE() << "no error";
  } catch (const ERegExpParser& e) {
    EXPECT_EQ(e.Message(), ERegexMessage::TooComplex);
    EXPECT_GE(e.ErrorPosition(), 1);
    EXPECT_LE(e.ErrorPosition(), static_cast<int>(pattern.size()) + 1);
  }
  // Long flat patterns are fine: the builder walks the tree without recursion.
  EXPECT_NO_THROW(TREParser(std::string(200000, 'a')).Run());
}

// ---- parse trees ----

std::string Range(const TRENode& node) {
  auto code = [](int c) {
    if (c > 0x20 && c < 0x7F) return std::string(1, static_cast<char>(c));
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02X", c);
    return std::string(buffer);
  };
  return node.low == node.high ? code(node.low) : code(node.low) + "-" + code(node.high);
}

// Compact form: leaves as ranges, ".(l,r)" concat, "|(l,r)" union, "*(x)",
// "e" empty, "^" and "$"; a leaf split into pieces as [range:piece,...].
std::string Dump(const TREParseTree& tree, int id) {
  const TRENode& node = tree.Node(id);
  if (node.fromLeaf) {
    std::vector<int> pieces;
    std::function<void(int)> collect = [&](int n) {
      if (tree.Node(n).op == reopChar) pieces.push_back(n);
      else {
        collect(tree.Node(n).left);
        collect(tree.Node(n).right);
      }
    };
    collect(node.left);
    collect(node.right);
    std::string text = "[" + Range(node) + ":";
    for (size_t i = 0; i < pieces.size(); ++i) text += (i ? "," : "") + Range(tree.Node(pieces[i]));
    return text + "]";
  }
  switch (node.op) {
    case reopChar: return Range(node);
    case reopLHead: return "^";
    case reopLTail: return "$";
    case reopEmpty: return "e";
    case reopStar: return "*(" + Dump(tree, node.left) + ")";
    case reopConcat: return ".(" + Dump(tree, node.left) + "," + Dump(tree, node.right) + ")";
    case reopUnion: return "|(" + Dump(tree, node.left) + "," + Dump(tree, node.right) + ")";
  }
  return "?";
}

std::string Tree(const std::string& pattern) {
  TREParser parser(pattern);
  int root = parser.Run();
  return Dump(parser.ParseTree(), root);
}

TEST(TREParserTest, ParseTrees) {
  struct Case {
    std::string pattern, tree;
  } cases[] = {
      {"", "e"},
      {"()", "e"},
      {"a|", "|(a,e)"},
      {"ab|c", "|(.(a,b),c)"},
      {"abc", ".(.(a,b),c)"},
      {"a+", ".(a,*(a))"},
      {"a?b*", ".(|(a,e),*(b))"},
      {"[a-]", "|(a,-)"},
      {"[a-\\x7a]", "a-z"},
      {"^a$", ".(.(^,a),$)"},
      {"x^", ".(x,^)"},
      {".", "|(|(01-09,0B-0C),0E-FCFC)"},
      {"[^a]", "|(|(|(01-09,0B-0C),0E-`),b-FCFC)"},
      {"[^\\x01-\\xFFFF]", "FFFF"},  // excludes every character: matches nothing
      // Overlapping leaves are split into shared disjoint pieces.
      {"[a-z]m", ".([a-z:a-l,m,n-z],m)"},
      {"[a-m][h-z]", ".([a-m:a-g,h-m],[h-z:h-m,n-z])"},
      {"a.", ".(a,|(|(01-09,0B-0C),[0E-FCFC:0E-`,a,b-FCFC]))"},
  };
  for (const Case& c : cases) EXPECT_EQ(Tree(c.pattern), c.tree) << c.pattern;
}

TEST(TREParserTest, LeavesEndUpEqualOrDisjoint) {
  const std::string patterns[] = {
      "[a-z][m-q][b-y].", "[^m][a-c]x|[b-d]", S("[ぁ-ん][か-こ].あ[^い]"), "[\\x01-\\xFFFF][\\x20-\\x7e]a", "[a-c][b-d][c-e][d-f][a-f]"};
  for (const std::string& pattern : patterns) {
    TREParser parser(pattern);
    parser.Run();
    const TREParseTree& tree = parser.ParseTree();
    const std::vector<int>& leaves = tree.Leaves();
    for (size_t i = 0; i < leaves.size(); ++i) {
      for (size_t j = i + 1; j < leaves.size(); ++j) {
        const TRENode& a = tree.Node(leaves[i]);
        const TRENode& b = tree.Node(leaves[j]);
        EXPECT_TRUE(a.high < b.low || b.high < a.low) << pattern << ": " << Range(a) << " and " << Range(b);
      }
    }
  }
}

// ---- pre-processing ----

std::string Fuzzy(const std::string& pattern) {
  TREPreProcessor pre;
  pre.FuzzyCharDicList().push_back(&BuiltinFuzzyCharDic());
  pre.SetUseFuzzyCharDic(true);
  pre.SetRegExp(pattern);
  return pre.Run();
}

TEST(TREPreProcessorTest, FlagsOffLeavesThePatternAlone) {
  TREPreProcessor pre;
  pre.FuzzyCharDicList().push_back(&BuiltinFuzzyCharDic());
  pre.SetRegExp("a[b");  // not even scanned
  EXPECT_EQ(pre.Run(), "a[b");
}

TEST(TREPreProcessorTest, FuzzyRewriteOfEachGroupKind) {
  struct Case {
    std::string pattern, expected;
  } cases[] = {
      {"a", S("(Ａ|ａ|A|a)")},
      {"Z", S("(Ｚ|ｚ|Z|z)")},
      {"4", S("(4|４|四|④|Ⅳ)")},
      {" ", S("(　| )")},
      {"\"", S("(\"|”)")},
      {",", S("(,|､|、|，)")},
      {S("か゛"), S("(が|ガ|ｶﾞ|か゛|カ゛)")},
      {S("が"), S("(が|ガ|ｶﾞ|か゛|カ゛)")},
      {S("ぶ"), S("(ぶ|ブ|ﾌﾞ|ふ゛|フ゛|ヴ|ウ゛|う゛|ｳﾞ)")},
      {S("ぁ"), S("(あ|ア|ｱ|ぁ|ァ|ｧ)")},
      {S("ッ"), S("(つ|ツ|ﾂ|っ|ッ|ｯ)")},
      {S("ー"), S("(ー|～|ｰ|)")},  // the empty item makes the long-vowel mark optional
      {"-", S("(-|ー|－|～|ｰ)")},
      {S("ソ"), S("(そ|ソ|ｿ)")},  // no backslash before the trail byte 0x5C
      {"\\\\", S("(\\\\|￥)")},
      {"\\(", S("(\\(|（)")},     // an escaped parenthesis is a character and is looked up
      {"(a)", S("((Ａ|ａ|A|a))")},  // a real one is copied
      {"[a]b", S("[a](Ｂ|ｂ|B|b)")},
      {"[^a-c]", "[^a-c]"},
      {"a*|.", S("(Ａ|ａ|A|a)*|.")},
      {S("漢"), S("漢")},
      {"\\x41", S("(Ａ|ａ|A|a)")},
      {S("ﾞ"), S("(ﾞ|゛)")},
  };
  for (const Case& c : cases) EXPECT_EQ(Fuzzy(c.pattern), c.expected) << c.pattern;
}

TEST(TREPreProcessorTest, ScannerErrorsComeFromThePreProcessor) {
  try {
    Fuzzy("ab[c");
    ADD_FAILURE();
  } catch (const ERegExpParser& e) {
    EXPECT_EQ(e.Message(), ERegexMessage::NeedRightBracket);
    EXPECT_EQ(e.ErrorPosition(), 5);
  }
}

TEST(TREPreProcessorTest, SynonymsThenFuzzyFirstMatchWins) {
  TREDictionary synonyms = {{"cat", "feline"}, {"ca", "xy"}};
  TREPreProcessor pre;
  pre.SynonymDicList().push_back(&synonyms);
  pre.SetUseSynonymDic(true);
  pre.SetRegExp("cats|ca");
  EXPECT_EQ(pre.Run(), "(cat|feline)s|(ca|xy)");
  // The first group that matches wins, even when a later one is longer.
  TREDictionary order = {{"c", "k"}, {"cat", "feline"}};
  pre.SynonymDicList() = {&order};
  pre.SetRegExp("cat");
  EXPECT_EQ(pre.Run(), "(c|k)at");
  pre.SynonymDicList() = {&synonyms};
  pre.FuzzyCharDicList().push_back(&BuiltinFuzzyCharDic());
  pre.SetUseFuzzyCharDic(true);
  pre.SetRegExp("cat");
  EXPECT_EQ(pre.Run(), S("((Ｃ|ｃ|C|c)(Ａ|ａ|A|a)(Ｔ|ｔ|T|t)|(Ｆ|ｆ|F|f)(Ｅ|ｅ|E|e)(Ｌ|ｌ|L|l)(Ｉ|ｉ|I|i)(Ｎ|ｎ|N|n)(Ｅ|ｅ|E|e))"));
}

TEST(TREFuzzyCharDicTest, BuiltInGroups) {
  const TREDictionary& dic = BuiltinFuzzyCharDic();
  ASSERT_EQ(dic.size(), 145u);
  EXPECT_EQ(dic[0], (TREWordGroup{"\x82\x60", "\x82\x81", "A", "a"}));
  EXPECT_EQ(dic[38], (TREWordGroup{"\"", "\x81\x68"}));            // " ”
  EXPECT_EQ(dic[48], (TREWordGroup{"\x81\x5B", "\x81\x60", "\xB0", ""}));  // ー ～ ｰ and the empty item
  EXPECT_EQ(dic[49], (TREWordGroup{"-", "\x81\x5B", "\x81\x7C", "\x81\x60", "\xB0"}));
  EXPECT_EQ(dic[60], (TREWordGroup{"\\", "\x81\x8F"}));
  EXPECT_EQ(dic[67], (TREWordGroup{"~", "\x81\x50"}));
  EXPECT_EQ(dic[68], (TREWordGroup{",", "\xA4", "\x81\x41", "\x81\x43"}));
  EXPECT_EQ(dic[27][4], "\x87\x54");  // Ⅰ in the NEC row
  EXPECT_EQ(dic[80].size(), 10u);
  EXPECT_EQ(dic[80][3], dic[80][4]);  // ス゛ twice
  EXPECT_EQ(dic[143], (TREWordGroup{"\xDE", "\x81\x4A"}));
  EXPECT_EQ(dic[144], (TREWordGroup{"\xDF", "\x81\x4B"}));
  for (const TREWordGroup& group : dic) {
    for (const std::string& word : group) EXPECT_EQ(word.find('?'), word == "?" ? 0 : std::string::npos) << word;
  }
}

TEST(TREPreProcessorTest, SplitCommaText) {
  EXPECT_EQ(SplitCommaText("a,b,,c"), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_EQ(SplitCommaText("x,"), (std::vector<std::string>{"x", ""}));
  EXPECT_EQ(SplitCommaText("\",\",\"\"\"\",\" \""), (std::vector<std::string>{",", "\"", " "}));
}

}  // namespace
}  // namespace kerv
