// Character conversions: width, kana, case, the type-format operations, tabs.

#include <gtest/gtest.h>

#include "format/TStringFormatter.h"
#include "format/TTypeFormatOptions.h"
#include "tests/format/FormatTestSupport.h"

namespace kerv {
namespace {

using test::S;
using test::U;
using F = TStringFormatter;
using M = TZenkakuMode;

struct ZenkakuCase {
  const char* text;
  M mode;
  const char* expected;
};

TEST(CharConversionTest, ToZenkaku) {
  const ZenkakuCase cases[] = {
      {"ｶﾞ", M::Plain, "ガ"},
      {"ｶ", M::Plain, "カ"},
      {"ﾞ", M::Plain, "゛"},
      {"ｰ", M::Plain, "ー"},
      {" ", M::Plain, "　"},
      {"ﾊﾟﾋﾟｶﾟ", M::Plain, "パピカ゜"},  // ｶﾟ is no pair
      {"ｳﾞ", M::Plain, "ヴ"},
      {"ｳﾞ", M::Katakana, "ヴ"},
      {"ｳﾞｱ", M::Hiragana, "う゛あ"},
      {"ﾊﾟ", M::Hiragana, "ぱ"},
      {"う゛", M::Katakana, "ヴ"},
      {"あう゛", M::Katakana, "アヴ"},
      {"ウ゛", M::Katakana, "ウ゛"},
      {"ヴ", M::Hiragana, "う゛"},
      {"ガパ", M::Hiragana, "がぱ"},
      {"がぱ", M::Katakana, "ガパ"},
      {"aZ9あア", M::Plain, "ａＺ９あア"},
      {"aあ", M::Katakana, "ａア"},
      {"aｱア", M::Hiragana, "ａああ"},
      {"!\"'\\~`", M::Plain, "！”’￥￣｀"},
      {"｡｢｣､･", M::Plain, "。「」、・"},
      {"茶ヵヶヮヰヱゐゑ表ソ十", M::Katakana, "茶ヵヶヮヰヱゐゑ表ソ十"},
      {"茶ヵヶヮヰヱ表十", M::Hiragana, "茶ヵヶヮヰヱ表十"},
      {"ソ", M::Hiragana, "そ"},
      {"\t\r\n", M::Plain, "\t\r\n"},
  };
  for (const ZenkakuCase& c : cases) {
    EXPECT_EQ(U(F::ToZenkaku(S(c.text), c.mode)), c.expected) << c.text << " mode " << static_cast<int>(c.mode);
  }
  // A lead byte at the very end has no trail byte and is copied alone.
  EXPECT_EQ(F::ToZenkaku("a\x82", M::Plain), S("ａ") + "\x82");
}

TEST(CharConversionTest, ToHankaku) {
  const std::pair<const char*, const char*> cases[] = {
      {"ガ", "ｶﾞ"}, {"が", "ｶﾞ"}, {"ヴ", "ｳﾞ"}, {"　", " "}, {"漢", "漢"}, {"パぴ", "ﾊﾟﾋﾟ"},
      {"ＡＢｃ１！”’￥￣", "ABc1!\"'\\~"}, {"。「」、・ー゛゜", "｡｢｣､･ｰﾞﾟ"},
      {"茶ヵヶヮヰヱゐゑα①", "茶ヵヶヮヰヱゐゑα①"}, {"ソ表a\r\n", "ｿ表a\r\n"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(U(F::ToHankaku(S(text))), expected) << text;
}

TEST(CharConversionTest, Case) {
  EXPECT_EQ(U(F::ToUpper(S("abzＡｂｃαωаёяⅰ漢あ"))), "ABZＡＢＣΑΩАЁЯⅠ漢あ");
  EXPECT_EQ(U(F::ToLower(S("ABZＡｂＣΑΩАЁЯⅠ漢あ"))), "abzａｂｃαωаёяⅰ漢あ");
  // ア is 0x83 0x41 and ャ 0x83 0x83: trail bytes that look like letters stay.
  const std::string kana = S("アイウエオャソ表ｱ");
  EXPECT_EQ(F::ToLower(kana), kana);
  EXPECT_EQ(F::ToUpper(S("ぁぃぅぇぉゃゅょ")), S("ぁぃぅぇぉゃゅょ"));
}

struct TypeCase {
  TTypeFormatAction action;
  TTypeFlags flags;
  const char* symbols;
  const char* text;
  const char* expected;
};

TEST(CharConversionTest, TypeFormat) {
  using namespace TypeFlag;
  using A = TTypeFormatAction;
  const TypeCase cases[] = {
      {A::Delete, Kana, "", "あがアｱう゛x", "アｱx"},
      {A::Delete, Kata, "", "あアガｱｶﾞヴ茶", "あ茶"},
      {A::Delete, Space, "", "a b　c", "abc"},
      {A::Delete, EUpp, "", "A Ａ　a", "a"},
      {A::Delete, ELow | Num, "", "aｚ1２A", "A"},
      {A::Delete, Tab | Ret, "", "a\tb\r\nc", "abc"},
      {A::Delete, Sym, "", "!！ー゛ｰ表", "表"},
      {A::Delete, 0, "!", "!！?", "?"},
      {A::HanToZen, 0, "!", "!?", "！?"},
      {A::HanToZen, Sym, "!", "!?", "！？"},
      {A::HanToZen, EUpp, "", " A", "　Ａ"},
      {A::HanToZen, Space, "", " A", "　A"},
      {A::HanToZen, Kata, "", "ｶﾞｱa", "ガアa"},
      {A::HanToZen, Num, "", "1a", "１a"},
      {A::HanToZen, Sym, "", "ｶﾞ!", "ｶﾞ！"},  // the mark of a pair belongs to its kana
      {A::HanToZen, Kata, "ﾞ", "ｶﾞﾞ", "ガ゛"},
      {A::Delete, 0, "ﾞ", "ｶﾞﾞｱ", "ｶﾞｱ"},
      {A::ZenToHan, Space, "", "　Ａ", " Ａ"},
      {A::ZenToHan, EUpp, "", "　Ａ", "　A"},
      {A::ZenToHan, Kana, "", "がアう", "ｶﾞアｳ"},
      {A::ZenToHan, Kata, "", "がアヴ", "がｱｳﾞ"},
      {A::ZenToHan, 0, "!", "！？", "!？"},
      {A::ZenToHan, Tab | Ret, "", "\t\r\n", "\t\r\n"},
  };
  for (const TypeCase& c : cases) {
    TTypeFormatOptions options{c.action, c.flags, S(c.symbols), false};
    EXPECT_EQ(U(ApplyTypeFormat(S(c.text), options)), c.expected) << c.text << " flags " << c.flags;
  }
  TTypeFormatOptions nothing;
  EXPECT_FALSE(nothing.HasWork());
  EXPECT_EQ(ApplyTypeFormat(S("a"), nothing), S("a"));
}

TEST(CharConversionTest, SymbolTags) {
  const std::pair<int, char> cases[] = {{1, '!'}, {15, '/'}, {18, '<'}, {19, '>'}, {20, '='}, {21, '?'},
                                        {22, '@'}, {32, '~'}, {33, '\xA1'}, {40, '\xDF'}, {0, 0}, {41, 0}};
  for (const auto& [tag, symbol] : cases) EXPECT_EQ(SymbolOfTag(tag), symbol) << tag;
  const int tags[] = {19, 1, 99};
  EXPECT_EQ(SymbolsOfTags(tags), ">!");
}

TEST(CharConversionTest, Tabs) {
  EXPECT_EQ(F::TabToSpace("a\tb\t", 4), "a    b    ");
  EXPECT_EQ(F::TabToSpace(S("表\t"), 2), S("表  "));
  const std::tuple<const char*, int, const char*> spaceCases[] = {
      {"        ", 4, "\t\t"}, {"   ", 4, "   "}, {"      x", 4, "\t  x"}, {"a  b", 4, "a  b"},
      {"a    b     ", 4, "a\tb\t "}, {"  ", 1, "\t\t"}, {"    ", 0, "    "},
  };
  for (const auto& [text, width, expected] : spaceCases) EXPECT_EQ(F::SpaceToTab(text, width), expected) << width;
}

}  // namespace
}  // namespace kerv
