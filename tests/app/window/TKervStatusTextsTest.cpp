#include "app/window/TKervStatusTexts.h"

#include <gtest/gtest.h>

namespace kerv {
namespace {

TEST(TKervStatusTextsTest, StatusCells) {
  EXPECT_EQ(CaretPosText(12, 5), "12行: 5桁");
  EXPECT_STREQ(StatusCodeName(0), "ASCII");
  EXPECT_STREQ(StatusCodeName(5), "Unicode(BE)");
  EXPECT_STREQ(StatusCodeName(7), "UTF-8N");
  EXPECT_STREQ(StatusCodeName(8), "Binary");
  EXPECT_STREQ(StatusCodeName(11), "Binary");
  EXPECT_STREQ(StatusReturnName(2), "LF");
  EXPECT_STREQ(StatusReturnName(0), "CRLF");
}

TEST(TKervStatusTextsTest, CharacterCountOfAnLfDocumentCountsOneBytePerBreak) {
  // "あa" CR LF "b": internally 6 bytes, 5 characters.
  const std::string text = "\x82\xA0" "a\r\nb";
  TKervCharCount crlf = CharCountTexts(text, 1);
  EXPECT_EQ(crlf.characters, "総文字数：5文字");
  EXPECT_EQ(crlf.bytes, "総バイト数：6バイト");
  TKervCharCount lf = CharCountTexts(text, 2);
  EXPECT_EQ(lf.characters, "総文字数：4文字");
  EXPECT_EQ(lf.bytes, "総バイト数：5バイト");
  // Kilobytes only from 2 KB on, with separators.
  EXPECT_EQ(CharCountTexts(std::string(2047, 'x'), 1).bytes, "総バイト数：2,047バイト");
  EXPECT_EQ(CharCountTexts(std::string(1234567, 'x'), 1).bytes, "総バイト数：1,234,567バイト (約1,205KB)");
}

TEST(TKervStatusTextsTest, AsciiCodeTakesAnEleventhByteAfterALeadByteOrCr) {
  EXPECT_EQ(AsciiCodeText("AB"), "41 42 ");
  EXPECT_EQ(AsciiCodeText("123456789\x82\xA0x"), "31 32 33 34 35 36 37 38 39 82 A0 ");
  EXPECT_EQ(AsciiCodeText("123456789\r\nx"), "31 32 33 34 35 36 37 38 39 0D 0A ");
  EXPECT_EQ(AsciiCodeText("1234567890xy"), "31 32 33 34 35 36 37 38 39 30 ");
}

TEST(TKervStatusTextsTest, ClipboardNoticeCutsAtSeventyBytesOnWholeCharacters) {
  EXPECT_EQ(ClipboardNoticeBody(std::string(49, 'a')), std::string(49, 'a'));
  EXPECT_EQ(ClipboardNoticeBody(std::string(60, 'a')), std::string(60, 'a') + "...");
  EXPECT_EQ(ClipboardNoticeBody(std::string(80, 'a')), std::string(70, 'a') + "...");
  // A double-byte character across byte 70 stays out whole.
  const std::string kana = std::string(69, 'a') + "\x82\xA0" + "b";
  EXPECT_EQ(ClipboardNoticeBody(kana), std::string(69, 'a') + "...");
  EXPECT_EQ(ClipboardNoticeBody("a\r\nb"), "a b");
}

TEST(TKervStatusTextsTest, SelectionSizeAndJumpPrompt) {
  EXPECT_EQ(SelectionSizeText(12, 6), " 12Byte / 6文字選択");
  EXPECT_EQ(CountCharacters("\x95\x5C" "a"), 2);
  EXPECT_EQ(JumpToPrompt(1, 25), "移動先の行を指定してください(1～25)");
}

}  // namespace
}  // namespace kerv
