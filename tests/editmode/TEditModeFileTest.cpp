#include "editmode/TEditModeFile.h"

#include <gtest/gtest.h>

#include <functional>

#include "EditModeTestSupport.h"
#include "editmode/ReserveWords.h"

namespace kerv {
namespace {

using test::Lines;

// A set read from text that must be accepted.
std::unique_ptr<TEditorPropEx> ReadAccepted(const std::string& text) {
  auto set = std::make_unique<TEditorPropEx>();
  EXPECT_TRUE(TEditModeFile::Read(text, *set)) << text;
  return set;
}

std::string Minimal(const std::string& extra) { return "Format=KervEditMode\r\n" + extra; }

TEST(TEditModeFileTest, FormatLineAloneGivesEveryReaderDefault) {
  // Factory settings with words and a pair: every value the reader must
  // overwrite differs from its reader default, so a key it forgot shows.
  TEditorPropEx set;
  set.ApplyFactorySettings();
  set.View().SetCommenter("//");
  set.ReserveWordList().push_back({"w", 0});
  set.View().Brackets().Add().SetLeftBracket("(");
  set.Font().SetCharSet(128);
  set.Leftbar().SetLeftMargin(33);
  const std::string fontName = set.Font().Name();
  ASSERT_TRUE(TEditModeFile::Read("Format=KervEditMode", set));
  // The expectation lists the reader default of every key.
  test::ExpectGolden("reader_defaults.em2", TEditModeFile::Write(set));
  // What the file does not hold, or holds nothing for, stays.
  EXPECT_EQ(set.Font().Name(), fontName);
  EXPECT_EQ(set.Font().CharSet(), 128);
  EXPECT_EQ(set.Leftbar().LeftMargin(), 33);
  EXPECT_EQ(set.Margin().Left(), 2);
}

TEST(TEditModeFileTest, TextWithoutHeaderOrFormatIsRejectedAndChangesNothing) {
  for (const char* text : {"", "[Settings]\r\nAuthor=x\r\n", "Format=Other\r\nAuthor=x", "// other header //\r\n",
                           "%ReservedStrings%\r\nFormat=KervEditMode\r\n%EORS%\r\n"}) {
    TEditorPropEx set;
    set.SetAuthor("before");
    EXPECT_FALSE(TEditModeFile::Read(text, set)) << text;
    EXPECT_EQ(set.Author(), "before");
  }
  EXPECT_TRUE(ReadAccepted(std::string(TEditModeFile::kHeaderLine) + "\nAuthor=x")->Author() == "x");
}

TEST(TEditModeFileTest, ValuesAreClampedOrTakeTheirDefaults) {
  struct Case {
    const char* line;
    std::function<int(const TEditorPropEx&)> get;
    int expected;
  } cases[] = {
      {"GaugeRange=9", [](auto& s) { return s.Ruler().GaugeRange(); }, 8},
      {"GaugeRange=99", [](auto& s) { return s.Ruler().GaugeRange(); }, 10},
      {"TabCount=5", [](auto& s) { return s.Caret().TabSpaceCount(); }, 4},
      {"TabCount=0", [](auto& s) { return s.Caret().TabSpaceCount(); }, 2},
      {"SpaceIndentSize=50", [](auto& s) { return s.SpaceIndentSize(); }, 20},
      {"SpaceIndentSize=-3", [](auto& s) { return s.SpaceIndentSize(); }, 1},
      {"WrapByte=5", [](auto& s) { return s.WrapOption().WrapByte(); }, 20},
      {"WrapByte=0x1000", [](auto& s) { return s.WrapOption().WrapByte(); }, 500},
      {"WrapByte=$64", [](auto& s) { return s.WrapOption().WrapByte(); }, 100},
      {"WrapByte=abc", [](auto& s) { return s.WrapOption().WrapByte(); }, 80},
      {"WrapByte=99999999999", [](auto& s) { return s.WrapOption().WrapByte(); }, 80},
      {"LineNumColumn=12", [](auto& s) { return s.Leftbar().Column(); }, 8},
      {"LineNumColumn=0", [](auto& s) { return s.Leftbar().Column(); }, 1},
      {"LineNumCountWrap=0", [](auto& s) { return int(s.Leftbar().ShowNumberMode()); }, int(nmLine)},
      {"ScrollBar=0", [](auto& s) { return int(s.ScrollBars()); }, int(ssNone)},
      {"ScrollBar=2", [](auto& s) { return int(s.ScrollBars()); }, int(ssVertical)},
      {"ScrollBar=7", [](auto& s) { return int(s.ScrollBars()); }, int(ssBoth)},
      {"FontSize=0", [](auto& s) { return s.Font().Size(); }, 12},
      {"FontSize=100000", [](auto& s) { return s.Font().Size(); }, 12},
      {"FontCharSet=300", [](auto& s) { return s.Font().CharSet(); }, TEditorFont::kDefaultCharSet},
      {"ShowTab=-1", [](auto& s) { return int(s.ShowTab()); }, 1},
      {"showtab = 1", [](auto& s) { return int(s.ShowTab()); }, 1},  // names ignore case and blanks
      {"ColorSet3=0x0000FF", [](auto& s) { return int(s.Ruler().MarkColor()); }, 0x0000FF},
      {"ColorSet3=junk", [](auto& s) { return int(s.Ruler().MarkColor()); }, 0},
      {"ColorSet12=$FF,,1,0,1", [](auto& s) { return int(s.View().Colors().Comment().Style()); }, fsBold | fsUnderline},
      {"ColorSet12=$FF,,1", [](auto& s) { return int(s.View().Colors().Comment().BkColor()); }, 0xFFFFFF},
      {"ColorSet12=305419896", [](auto& s) { return int(s.View().Colors().Comment().Color()); }, 0x345678},
      {"ColorSet12=-16777211", [](auto& s) { return int(s.View().Colors().Comment().Color() == clWindow); }, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.get(*ReadAccepted(Minimal(c.line))), c.expected) << c.line;
}

TEST(TEditModeFileTest, VersionDecidesWhichColourSetsAreRead) {
  // Every set from 14 on is written as red; a set not read keeps the old blue.
  std::string sets;
  for (int n = 14; n < 26; ++n) sets += "ColorSet" + std::to_string(n) + "=255,255,0,0,0\r\n";
  struct Case {
    const char* version;
    int lastSetRead;
  } cases[] = {{"", 13}, {"Version=abc", 13}, {"Version=2.0", 13}, {"Version=2.1", 14}, {"Version=2.15", 14},
               {"Version=2.2", 18}, {"Version=2.3", 18}, {"Version=2.30", 18}, {"Version=2.31", 25},
               {"Version=2.6", 25}, {"Version=3", 25}, {"Version=2.", 13}};
  for (const Case& c : cases) {
    TEditorPropEx set;
    set.SetTabMarkColor(0xFF0000);
    for (int level = ceStress2; level <= ceStressTmp; ++level) {
      set.View().Colors().Item(static_cast<TEditorColorEntry>(level)).SetColor(0xFF0000);
    }
    ASSERT_TRUE(TEditModeFile::Read(Minimal(std::string(c.version) + "\r\n" + sets), set));
    auto colorOfSet = [&set](int n) {
      if (n == 14) return set.TabMarkColor();
      if (n == 24) return set.View().Colors().FindStr().Color();
      if (n == 25) return set.View().Colors().StressTmp().Color();
      return set.View().Colors().Item(static_cast<TEditorColorEntry>(ceStress2 + n - 15)).Color();
    };
    for (int n = 14; n < 26; ++n) {
      EXPECT_EQ(colorOfSet(n), n <= c.lastSetRead ? 0x0000FFu : 0xFF0000u) << c.version << " set " << n;
    }
  }
}

TEST(TEditModeFileTest, ColourSetZeroGoesToTheFontTheBackgroundAndThePlainEntries) {
  auto set = ReadAccepted(Minimal("ColorSet0=255,65280,1,1,0\r\n"));
  EXPECT_EQ(set->Font().Color(), 255u);
  EXPECT_EQ(set->Font().Style(), fsBold | fsItalic);
  EXPECT_EQ(set->Color(), 65280u);
  for (const TEditorColor* entry : {&set->View().Colors().Ank(), &set->View().Colors().DBCS(),
                                    &set->View().Colors().Symbol()}) {
    EXPECT_TRUE(entry->SameValues(TEditorColor(65280, 255, fsBold | fsItalic)));
  }
}

TEST(TEditModeFileTest, ReservedWordsAndTheirOptions) {
  struct Case {
    const char* name;
    std::string sections;
    TEditorWordList expected;
  } cases[] = {
      {"paired", "%ReservedStrings%\r\nif\r\nelse\r\n%EORS%\r\n\r\n%ResStrOptions%\r\n3\r\n0x0884\r\n%EORSO%\r\n",
       {{"if", 3}, {"else", 0x884}}},
      {"no options section", "%ReservedStrings%\r\nif\r\nelse\r\n%EORS%\r\n", {{"if", 0}, {"else", 0}}},
      // A short options section keeps the words it does not reach, with no options.
      {"short options", "%ReservedStrings%\r\na\r\nb\r\nc\r\n%EORS%\r\n%ResStrOptions%\r\n1\r\n%EORSO%\r\n",
       {{"a", 1}, {"b", 0}, {"c", 0}}},
      {"junk options", "%ReservedStrings%\r\na\r\nb\r\n%EORS%\r\n%ResStrOptions%\r\nx\r\n0x180\r\n%EORSO%\r\n",
       {{"a", 0}, {"b", 0x80}}},
      {"marker on the last line", "%ReservedStrings%", {}},
      {"truncated before the end marker", "%ReservedStrings%\r\na\r\nb", {{"a", 0}, {"b", 0}}},
      // Without its end line the word section stops at the next section.
      {"end marker missing", "%ReservedStrings%\r\na\r\n%ResStrOptions%\r\n2\r\n%EORSO%\r\n", {{"a", 2}}},
      {"keys inside the section are words", "%ReservedStrings%\r\nWordWrap=1\r\n%EORS%\r\n", {{"WordWrap=1", 0}}},
      {"regex that does not compile is kept", "%ReservedStrings%\r\n(a\r\n%EORS%\r\n%ResStrOptions%\r\n4\r\n%EORSO%\r\n",
       {{"(a", 4}}},
  };
  for (const Case& c : cases) {
    auto set = ReadAccepted(Minimal(c.sections));
    EXPECT_EQ(set->ReserveWordList(), c.expected) << c.name;
    EXPECT_FALSE(set->WordWrap()) << c.name;
  }
}

TEST(TEditModeFileTest, BracketPairLines) {
  auto set = ReadAccepted(Minimal("%Brackets%\r\n/*\t*/\t255\t0\t1\t0\t1\t1\r\n"
                                  "\"\t\"\r\n"
                                  "\t)\t255\r\n"
                                  "[\t]\tx\t$00FF00\t0\t1\r\n"
                                  "%EOB%\r\n"));
  const TEditorBracketCollection& pairs = set->View().Brackets();
  ASSERT_EQ(pairs.Count(), 4);
  EXPECT_EQ(pairs.Items(0).LeftBracket(), "/*");
  EXPECT_EQ(pairs.Items(0).RightBracket(), "*/");
  EXPECT_TRUE(pairs.Items(0).ItemColor().SameValues(TEditorColor(0, 255, fsBold | fsUnderline)));
  EXPECT_TRUE(pairs.Items(0).ShowReserve());
  EXPECT_TRUE(pairs.Items(1).ItemColor().SameValues(TEditorColor(0xFFFFFF, 0, 0)));
  EXPECT_FALSE(pairs.Items(1).ShowReserve());
  // A side missing makes a pair that never matches.
  EXPECT_EQ(pairs.Items(2).LeftBracket(), "");
  EXPECT_EQ(pairs.Items(2).RightBracket(), "");
  EXPECT_TRUE(pairs.Items(3).ItemColor().SameValues(TEditorColor(0x00FF00, 0, fsItalic)));
}

TEST(TEditModeFileTest, MoreBracketPairsThanTheLimitStopAtTheLimit) {
  std::string lines = "%Brackets%\r\n";
  for (int i = 0; i < 60; ++i) lines += "<" + std::to_string(i) + "\t>\r\n";
  auto set = ReadAccepted(Minimal(lines));
  EXPECT_EQ(set->View().Brackets().Count(), TEditorBracketCollection::MaxCount);
}

TEST(TEditModeFileTest, FontNameIsCutAtACharacterBoundary) {
  // 30 ASCII bytes then a double-byte character: byte 31 is its lead byte.
  const std::string thirty(30, 'F');
  struct Case {
    std::string value;
    std::string expected;
  } cases[] = {
      {thirty + "\x83\x53" + "X", thirty},
      {thirty + "AB", thirty + "A"},
      {"\x82\x6c\x82\x72", "\x82\x6c\x82\x72"},
      {std::string(29, 'x') + "\x82\x60" + "yy", std::string(29, 'x') + "\x82\x60"},
      {"", "Keep"},
  };
  for (const Case& c : cases) {
    TEditorPropEx set;
    set.Font().SetName("Keep");
    ASSERT_TRUE(TEditModeFile::Read(Minimal("FontName=" + c.value), set));
    EXPECT_EQ(set.Font().Name(), c.expected) << c.value;
  }
}

TEST(TEditModeFileTest, DamagedFilesLoadWithDefaults) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131 + 7) % 256);
  const std::string cases[] = {
      Minimal(junk),
      junk + "\r\nFormat=KervEditMode\r\n" + junk,
      Minimal("%Brackets%\r\n\t\t\t\t\t\t\t\t\t\r\n%ReservedStrings%\r\n"),
      Minimal("%ResStrOptions%\r\n1\r\n2\r\n%EORSO%\r\n"),
      Minimal("ColorSet0=,,,,,,,,\r\nColorSet1=-\r\nVersion=99999999999.9\r\nTabCount=-2147483648\r\n"),
      Minimal(std::string("Author=a\0b", 10) + "\r\nFontName=\x83"),
  };
  for (const std::string& text : cases) {
    TEditorPropEx set;
    EXPECT_TRUE(TEditModeFile::Read(text, set));
    EXPECT_GE(set.WrapOption().WrapByte(), 20);
  }
}

TEST(TEditModeFileTest, ColourSetsAreEditedAsTheFileStoresThem) {
  TEditorPropEx set;
  set.ApplyFactorySettings();
  const TColorSetValue value{0x010203, 0x040506, fsBold | fsUnderline};
  for (int n = 0; n < TEditModeFile::kColorSetCount; ++n) {
    TEditorPropEx edited;
    edited.Assign(set);
    TEditModeFile::SetColorSet(edited, n, value);
    // What the set's shape stores changes; the rest of its entry stays.
    TColorSetValue expected = TEditModeFile::ColorSet(set, n);
    expected.color = value.color;
    if (TEditModeFile::ColorSetShape(n) != TColorSetShape::Single) expected.bkColor = value.bkColor;
    if (TEditModeFile::ColorSetShape(n) == TColorSetShape::Full) expected.style = value.style;
    EXPECT_EQ(TEditModeFile::ColorSet(edited, n), expected) << n;
    // And the file carries it: writing and reading gives the same set.
    TEditorPropEx reread;
    ASSERT_TRUE(TEditModeFile::Read(TEditModeFile::Write(edited), reread));
    EXPECT_EQ(TEditModeFile::ColorSet(reread, n), expected) << n;
  }
  TEditModeFile::SetColorSet(set, 0, value);
  EXPECT_EQ(set.View().Colors().DBCS().Color(), 0x010203u);  // the editor's colours reach the plain entries
  EXPECT_EQ(set.Color(), 0x040506u);
  TEditModeFile::SetColorSet(set, 26, value);  // no such set: nothing happens
  EXPECT_EQ(TEditModeFile::ColorSet(set, -1), TColorSetValue{});
}

TEST(TEditModeFileTest, WrittenLayoutMatchesTheGoldenFile) {
  TEditorPropEx set;
  set.ApplyFactorySettings();
  set.SetAuthor("Kerv");
  // A value with a line break cannot break the file: it ends at the break.
  set.SetUserComment("first line\r\nWordWrap=1");
  set.SetReturnInsertStr(" ;");
  set.WrapOption().SetFollowStr(" x ");
  set.View().SetQuotation("\"");
  set.View().SetCommenter("//");
  // A word that reads as a section line is not stored; the words after it are.
  set.ReserveWordList() = {{"if", 3}, {"^#.*", 0x884}, {"\x95\x5c", 0}, {"", 0}, {"%EORS%", 1}, {"last", 2}};
  TEditorBracketItem& pair = set.View().Brackets().Add();
  pair.SetLeftBracket("/*");
  pair.SetRightBracket("*/");
  pair.ItemColor().SetColor(0x008000);
  pair.ItemColor().SetBkColor(clWindow);
  pair.ItemColor().SetStyle(fsItalic);
  const std::string written = TEditModeFile::Write(set);
  test::ExpectGolden("written_layout.em2", written);

  auto reread = ReadAccepted(written);
  EXPECT_EQ(reread->UserComment(), "first line");
  EXPECT_FALSE(reread->WordWrap());
  TEditorWordList stored = set.ReserveWordList();
  stored.erase(stored.begin() + 4);
  EXPECT_EQ(reread->ReserveWordList(), stored);
  EXPECT_EQ(reread->ReturnInsertStr(), " ;");
  EXPECT_EQ(TEditModeFile::Write(*reread), written);  // read-write-read gives the same file
}

TEST(TEditModeFileTest, WithoutWordsAndPairsTheFileEndsWithColourSet25) {
  const std::vector<std::string> lines = Lines(TEditModeFile::Write(TEditorPropEx()));
  EXPECT_EQ(lines.back().rfind("ColorSet25=", 0), 0u);
  // System colours are written as what they stand for now.
  EXPECT_NE(std::find(lines.begin(), lines.end(), "ColorSet0=0,16777215,0,0,0"), lines.end());
}

}  // namespace
}  // namespace kerv
