#include "platform/posix/IconvCodePage.h"

#include <gtest/gtest.h>

#include <clocale>

namespace kerv {
namespace {

TEST(IconvCodePageTest, MicrosoftMappingOfKnownCodes) {
  IconvCodePage cp;
  struct Case {
    std::string sjis;
    char16_t unicode;
  } cases[] = {
      {"\x5C", 0x005C}, {"\x7E", 0x007E}, {"\x81\x5F", 0xFF3C}, {"\x81\x60", 0xFF5E},
      {"\x87\x40", 0x2460}, {"\xFA\x40", 0x2170}, {"\xA6", 0xFF66},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cp.Cp932ToUtf16(c.sjis), std::u16string(1, c.unicode));
  }
  EXPECT_EQ(cp.Utf16ToCp932(u"\u7E8A", nullptr), "\xFA\x5C");
}

TEST(IconvCodePageTest, UnmappableCharactersBecomeQuestionMarksWhateverTheLocale) {
  IconvCodePage cp;
  for (const char* locale : {"C", "C.UTF-8"}) {
    std::setlocale(LC_ALL, locale);
    ConversionReport report;
    // U+00E9 has no Shift_JIS form; U+1F600 is a surrogate pair and one character.
    EXPECT_EQ(cp.Utf16ToCp932(u"a\u00E9b\U0001F600c", &report), "a?b?c");
    EXPECT_EQ(report.replaced, 2u);
    EXPECT_EQ(report.firstReplaced, 1u);
  }
  std::setlocale(LC_ALL, "C");
}

TEST(IconvCodePageTest, InvalidShiftJisDoesNotStopTheConversion) {
  IconvCodePage cp;
  std::u16string out = cp.Cp932ToUtf16("a\x81");  // a lead byte with no trail byte
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0], u'a');
  out = cp.Cp932ToUtf16("\xFF" "b");
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[1], u'b');
}

TEST(IconvCodePageTest, Utf8RoundTripAndMalformedInput) {
  IconvCodePage cp;
  std::string utf8 = "\xE3\x81\x82\xF0\x9F\x98\x80x";
  EXPECT_EQ(cp.Utf16ToUtf8(cp.Utf8ToUtf16(utf8, nullptr)), utf8);
  ConversionReport report;
  EXPECT_EQ(cp.Utf8ToUtf16("a\xC3", &report), u"a\uFFFD");
  EXPECT_EQ(report.replaced, 1u);
}

}  // namespace
}  // namespace kerv
