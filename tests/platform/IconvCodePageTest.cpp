#include "platform/posix/IconvCodePage.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <clocale>
#include <random>

namespace kerv {
namespace {

// The conversions done the slow way, a stream through iconv that replaces
// what iconv rejects: what the tables must reproduce exactly.
class IconvReference {
 public:
  static std::u16string Cp932ToUtf16(std::string_view text) {
    std::u16string out;
    Run("UTF-16LE", "CP932", text.data(), text.size(), out, [&](size_t index, size_t) -> size_t {
      out.push_back(static_cast<unsigned char>(text[index]));
      return 1;
    });
    return out;
  }
  static std::string Utf16ToCp932(std::u16string_view text, ConversionReport* report) {
    std::string out;
    Run("CP932", "UTF-16LE", reinterpret_cast<const char*>(text.data()), text.size() * 2, out,
        [&](size_t byteIndex, size_t left) -> size_t {
          size_t unit = byteIndex / 2;
          if (report) report->Note(unit);
          out.push_back('?');
          char16_t c = text[unit];
          if (c >= 0xD800 && c <= 0xDBFF && left >= 4 && text[unit + 1] >= 0xDC00 && text[unit + 1] <= 0xDFFF) return 4;
          return 2;
        });
    return out;
  }
  static std::u16string Utf8ToUtf16(std::string_view text, ConversionReport* report) {
    std::u16string out;
    Run("UTF-16LE", "UTF-8", text.data(), text.size(), out, [&](size_t index, size_t) -> size_t {
      if (report) report->Note(index);
      out.push_back(u'\uFFFD');
      return 1;
    });
    return out;
  }
  static std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    Run("UTF-8", "UTF-16LE", reinterpret_cast<const char*>(text.data()), text.size() * 2, out,
        [&](size_t, size_t left) -> size_t {
          out += "\xEF\xBF\xBD";
          return left >= 2 ? 2 : left;
        });
    return out;
  }

 private:
  template <typename Out, typename OnBad>
  static void Run(const char* to, const char* from, const char* in, size_t inSize, Out& out, OnBad onBad) {
    using Unit = typename Out::value_type;
    iconv_t cd = ::iconv_open(to, from);
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    const char* start = in;
    std::vector<Unit> buffer(inSize * 4 + 16);
    while (inSize > 0) {
      char* outPtr = reinterpret_cast<char*>(buffer.data());
      size_t outLeft = buffer.size() * sizeof(Unit);
      char* inPtr = const_cast<char*>(in);
      size_t rc = ::iconv(cd, &inPtr, &inSize, &outPtr, &outLeft);
      out.append(buffer.data(), reinterpret_cast<Unit*>(outPtr) - buffer.data());
      in = inPtr;
      if (rc != static_cast<size_t>(-1)) break;
      size_t skip = onBad(static_cast<size_t>(in - start), inSize);
      skip = std::min(skip, inSize);
      in += skip;
      inSize -= skip;
      ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    ::iconv_close(cd);
  }
};

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
  // A lead byte before a byte that cannot follow it leaves that byte alone.
  EXPECT_EQ(cp.Cp932ToUtf16("\x81\n"), u"\u0081\n");
}

TEST(IconvCodePageTest, Utf8RoundTripAndMalformedInput) {
  IconvCodePage cp;
  std::string utf8 = "\xE3\x81\x82\xF0\x9F\x98\x80x";
  EXPECT_EQ(cp.Utf16ToUtf8(cp.Utf8ToUtf16(utf8, nullptr)), utf8);
  ConversionReport report;
  EXPECT_EQ(cp.Utf8ToUtf16("a\xC3", &report), u"a\uFFFD");
  EXPECT_EQ(report.replaced, 1u);
}

TEST(IconvCodePageTest, DirectPathsReportByteOffsetsOnce) {
  IconvCodePage cp;
  ConversionReport report;
  // An unmappable character and a malformed byte, each counted once where it starts.
  EXPECT_EQ(cp.Utf8ToCp932("\xE3\x81\x82\xC3\xA9z\xFF", &report), "\x82\xA0?z?");
  EXPECT_EQ(report.replaced, 2u);
  EXPECT_EQ(report.firstReplaced, 3u);
  EXPECT_EQ(cp.Cp932ToUtf8("\x82\xA0\xB1\x5C"), "\xE3\x81\x82\xEF\xBD\xB1\x5C");
}

// Every byte and every pair of bytes, alone and before a further byte.
TEST(IconvCodePageTest, ShiftJisDecodingEqualsIconvForEveryPair) {
  IconvCodePage cp;
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      std::string text = {static_cast<char>(a), static_cast<char>(b), 'x'};
      ASSERT_EQ(cp.Cp932ToUtf16(text), IconvReference::Cp932ToUtf16(text)) << std::hex << a << " " << b;
    }
    std::string alone(1, static_cast<char>(a));
    ASSERT_EQ(cp.Cp932ToUtf16(alone), IconvReference::Cp932ToUtf16(alone)) << std::hex << a;
  }
}

TEST(IconvCodePageTest, ShiftJisEncodingEqualsIconvForEveryCodeUnit) {
  IconvCodePage cp;
  std::u16string all;
  for (int unit = 1; unit < 65536; ++unit) all.push_back(static_cast<char16_t>(unit));
  ConversionReport fast, slow;
  EXPECT_EQ(cp.Utf16ToCp932(all, &fast), IconvReference::Utf16ToCp932(all, &slow));
  EXPECT_EQ(fast.replaced, slow.replaced);
  EXPECT_EQ(fast.firstReplaced, slow.firstReplaced);
}

// Random mixtures of the byte classes each conversion cares about.
TEST(IconvCodePageTest, EveryConversionEqualsIconvOnRandomInput) {
  IconvCodePage cp;
  std::mt19937 random(20240315);
  const std::string pieces[] = {"a", "\r\n", "\x82\xA0", "\x88\x9F", "\xB1", "\x87\x40", "\xFA\x5C", "\xED\x40",
                                "\xE3\x81\x82", "\xC3\xA9", "\xF0\x9F\x98\x80", "\xED\xA0\x80", "\xE0\x80\x80", "\x80",
                                "\xFF", "\xF4\x90\x80\x80", "\xEF\xBB\xBF", std::string(1, '\0')};
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    int count = static_cast<int>(random() % 40);
    for (int k = 0; k < count; ++k) {
      if (random() % 4 == 0) {
        bytes += static_cast<char>(random() % 256);
      } else {
        bytes += pieces[random() % std::size(pieces)];
      }
    }
    std::u16string units;
    for (size_t k = 0; k + 1 < bytes.size(); k += 2) {
      units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[k]) << 8 | static_cast<unsigned char>(bytes[k + 1])));
    }
    ASSERT_EQ(cp.Cp932ToUtf16(bytes), IconvReference::Cp932ToUtf16(bytes));
    ASSERT_EQ(cp.Cp932ToUtf8(bytes), IconvReference::Utf16ToUtf8(IconvReference::Cp932ToUtf16(bytes)));
    ConversionReport fast, slow;
    ASSERT_EQ(cp.Utf8ToUtf16(bytes, &fast), IconvReference::Utf8ToUtf16(bytes, &slow));
    ASSERT_EQ(fast.replaced, slow.replaced);
    ASSERT_EQ(fast.firstReplaced, slow.firstReplaced);
    ASSERT_EQ(cp.Utf8ToCp932(bytes, nullptr),
              IconvReference::Utf16ToCp932(IconvReference::Utf8ToUtf16(bytes, nullptr), nullptr));
    ASSERT_EQ(cp.Utf16ToUtf8(units), IconvReference::Utf16ToUtf8(units));
    ConversionReport fastUnits, slowUnits;
    ASSERT_EQ(cp.Utf16ToCp932(units, &fastUnits), IconvReference::Utf16ToCp932(units, &slowUnits));
    ASSERT_EQ(fastUnits.replaced, slowUnits.replaced);
  }
}

// Into the caller's memory: the same units as the returning conversion, for
// any bytes (lead bytes without their trail, at the end too), never more
// units than bytes.
TEST(IconvCodePageTest, Utf16IntoMemoryEqualsTheReturnedString) {
  IconvCodePage cp;
  std::mt19937 random(5);
  for (int round = 0; round < 300; ++round) {
    std::string bytes(random() % 200, '\0');
    for (char& c : bytes) c = static_cast<char>(random() % 4 == 0 ? 0x81 + random() % 30 : random() % 256);
    std::u16string into(bytes.size(), u'\0');
    into.resize(cp.Cp932ToUtf16Into(bytes, into.data()));
    ASSERT_EQ(into, cp.Cp932ToUtf16(bytes)) << round;
  }
}

}  // namespace
}  // namespace kerv
