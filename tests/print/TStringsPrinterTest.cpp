// The text printer's layout: properties, units, strips and geometry, pages
// with header, footer, columns and line numbers, ranges, progress and
// cancel, and the settings that leave no room and are refused.

#include <gtest/gtest.h>

#include <functional>

#include "print/EPrintError.h"
#include "print/PrintMessages.h"
#include "tests/print/PrintTestSupport.h"

namespace kerv {
namespace {

using test::NumberedLines;
using test::Ops;
using test::PrinterRig;
using test::S;
using test::Texts;
using Align = TStringsPrinterHeaderAlign;

static_assert(static_cast<int>(TStringsPrinterHeaderAlign::haNone) == 0 &&
              static_cast<int>(TStringsPrinterHeaderAlign::haLeft) == 1 &&
              static_cast<int>(TStringsPrinterHeaderAlign::haCenter) == 2 &&
              static_cast<int>(TStringsPrinterHeaderAlign::haRight) == 3);
static_assert(static_cast<int>(TStringsPrinterRangeOption::roWhole) == 0 &&
              static_cast<int>(TStringsPrinterRangeOption::roLimited) == 1);
static_assert(static_cast<int>(TStringsPrinterPageOption::poBoth) == 0 &&
              static_cast<int>(TStringsPrinterPageOption::poOdd) == 1 &&
              static_cast<int>(TStringsPrinterPageOption::poEven) == 2);

struct IntProperty {
  const char* name;
  std::function<void(TStringsPrinter&, int)> set;
  std::function<int(const TStringsPrinter&)> get;
  int defaultValue, low, high;
};

TEST(TStringsPrinterTest, IntegerPropertiesDefaultAndClamp) {
  using P = TStringsPrinter;
  const IntProperty properties[] = {
      {"ColumnCount", &P::SetColumnCount, &P::ColumnCount, 1, 1, 3},
      {"ColumnSpace", &P::SetColumnSpace, &P::ColumnSpace, 4, 0, 100},
      {"FirstLineNumber", &P::SetFirstLineNumber, &P::FirstLineNumber, 1, 1, 999999},
      {"FirstPageNumber", &P::SetFirstPageNumber, &P::FirstPageNumber, 1, 1, 999999},
      {"LastLine", &P::SetLastLine, &P::LastLine, 0, 1, 999999},
      {"LastPage", &P::SetLastPage, &P::LastPage, 999999, 1, 999999},
      {"MarginBottom", &P::SetMarginBottom, &P::MarginBottom, 0, 0, 100},
      {"MarginLeft", &P::SetMarginLeft, &P::MarginLeft, 0, 0, 100},
      {"MarginRight", &P::SetMarginRight, &P::MarginRight, 0, 0, 100},
      {"MarginTop", &P::SetMarginTop, &P::MarginTop, 0, 0, 100},
      {"MarginLine", &P::SetMarginLine, &P::MarginLine, 0, 0, 100},
      {"StartLine", &P::SetStartLine, &P::StartLine, 1, 1, 999999},
      {"StartPage", &P::SetStartPage, &P::StartPage, 1, 1, 999999},
  };
  for (const IntProperty& p : properties) {
    PrinterRig rig;
    EXPECT_EQ(p.get(rig.printer), p.defaultValue) << p.name;
    p.set(rig.printer, p.low - 1);
    EXPECT_EQ(p.get(rig.printer), p.low) << p.name;
    p.set(rig.printer, p.high + 1);
    EXPECT_EQ(p.get(rig.printer), p.high) << p.name;
    p.set(rig.printer, p.low + 1);
    EXPECT_EQ(p.get(rig.printer), p.low + 1) << p.name;
  }
}

TEST(TStringsPrinterTest, OtherPropertiesDefault) {
  PrinterRig rig;
  const TStringsPrinter& p = rig.printer;
  EXPECT_EQ(p.Copies(), 0);
  EXPECT_FALSE(p.Collate());
  EXPECT_FALSE(p.LineNumber());
  EXPECT_EQ(p.FileName(), "");
  EXPECT_EQ(p.Header(), "");
  EXPECT_EQ(p.Footer(), "");
  EXPECT_EQ(p.HeaderAlign(), Align::haNone);
  EXPECT_EQ(p.FooterAlign(), Align::haNone);
  EXPECT_EQ(p.LineRangeOption(), TStringsPrinterRangeOption::roWhole);
  EXPECT_EQ(p.RangeOption(), TStringsPrinterRangeOption::roWhole);
  EXPECT_EQ(p.PageOption(), TStringsPrinterPageOption::poBoth);
  EXPECT_EQ(HeaderAlignFromIndex(2), Align::haCenter);
  EXPECT_EQ(HeaderAlignFromIndex(4), std::nullopt);
  EXPECT_EQ(HeaderAlignFromIndex(-1), std::nullopt);
}

TEST(TStringsPrinterTest, MmToDotsRounds) {
  struct Case {
    int64_t mm;
    int dpi;
    int64_t dots;
  } cases[] = {
      {10, 254, 100}, {0, 600, 0}, {1, 600, 24}, {4, 300, 47}, {100, 96, 378}, {297, 96, 1123}, {210, 96, 794},
      {5, 127, 25},
  };
  for (const Case& c : cases) EXPECT_EQ(TStringsPrinter::MmToDots(c.mm, c.dpi), c.dots) << c.mm << " mm at " << c.dpi;
  PrinterRig rig;
  EXPECT_EQ(rig.printer.MmToDots(4), 40);
  rig.device.reachable = false;  // the screen's resolution then
  EXPECT_EQ(rig.printer.MmToDots(4), 15);
}

TEST(TStringsPrinterTest, ScreenRatioAndPageFontSize) {
  PrinterRig rig;
  EXPECT_DOUBLE_EQ(rig.printer.ScreenRatio(), 96.0 / 254.0);
  TPrintFont font;
  font.name = "Gothic";
  font.size = 10;
  rig.printer.SetFont(font);
  TPrintGeometry g = rig.printer.Geometry(1);
  EXPECT_EQ(g.pageFont.font.size, 26);  // 10 x 254 / 96 = 26.46
  EXPECT_EQ(g.pageFont.emDots, 35);     // 26 points at 96 dpi
  EXPECT_EQ(g.pageFont.font.name, "Gothic");
  EXPECT_EQ(rig.measurer.selected, g.pageFont);

  // Halves go to the even neighbour.
  rig.device.dpi = 300;
  rig.device.screenDpi = 600;
  const int sizes[][2] = {{5, 2}, {3, 2}, {7, 4}, {9, 4}, {1, 1}};
  for (const auto& size : sizes) {
    font.size = size[0];
    rig.printer.SetFont(font);
    EXPECT_EQ(rig.printer.Geometry(1).pageFont.font.size, size[1]) << size[0];
  }

  rig.device.reachable = false;
  EXPECT_DOUBLE_EQ(rig.printer.ScreenRatio(), 1.0);
  font.size = 10;
  rig.printer.SetFont(font);
  EXPECT_EQ(rig.printer.Geometry(1).pageFont.font.size, 10);
}

TEST(TStringsPrinterTest, PrintOffsets) {
  struct Case {
    const char* name;
    int64_t pageWidth, pageHeight;
    bool landscape;
    TPrintOffsets strips;
  } cases[] = {
      {"whole sheet printable", 2100, 2970, false, {0, 0, 0, 0}},
      {"4 mm all round", 2020, 2890, false, {40, 40, 40, 40}},
      {"odd rest goes right and bottom", 2001, 2871, false, {49, 49, 50, 50}},
      {"landscape swaps the paper first", 2900, 2000, true, {35, 50, 35, 50}},
      {"printable wider than the paper", 2200, 3000, false, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    PrinterRig rig;
    rig.device.pageWidth = c.pageWidth;
    rig.device.pageHeight = c.pageHeight;
    rig.device.landscape = c.landscape;
    EXPECT_EQ(rig.printer.PrintOffsets(), c.strips) << c.name;
  }
  PrinterRig rig;
  rig.device.pageWidth = 2020;
  rig.device.reachable = false;
  EXPECT_EQ(rig.printer.PrintOffsets(), TPrintOffsets{}) << "no printer";
}

TEST(TStringsPrinterTest, MarginsCountFromThePaperEdge) {
  struct Case {
    int margin;
    int64_t left, right;
  } cases[] = {
      {0, 0, 2020},   // narrower than the 4 mm strip: the printable edge
      {4, 0, 2020},
      {10, 60, 1960},
  };
  for (const Case& c : cases) {
    PrinterRig rig;
    rig.device.pageWidth = 2020;
    rig.device.pageHeight = 2890;
    rig.printer.SetMarginLeft(c.margin);
    rig.printer.SetMarginRight(c.margin);
    rig.printer.SetMarginTop(c.margin);
    const TPrintGeometry g = rig.printer.Geometry(1);
    EXPECT_EQ(g.content.left, c.left) << c.margin;
    EXPECT_EQ(g.content.top, c.left) << c.margin;
    EXPECT_EQ(g.content.right, c.right) << c.margin;
    TMetaFileList pages = rig.Lay({"a"});
    EXPECT_EQ(Ops(pages.Items(0), TPrintTextRole::Body)[0]->rect.left, c.left) << c.margin;
  }
}

TEST(TStringsPrinterTest, NoPrinterUsesThePaperTableAtScreenResolution) {
  PrinterRig rig;
  rig.device.reachable = false;
  rig.device.paperCode = 8;  // A3
  const TPrintGeometry g = rig.printer.Geometry(1);
  EXPECT_FALSE(g.reachable);
  EXPECT_EQ(g.dpi, 96);
  EXPECT_EQ(g.pageWidthDots, 1123);
  EXPECT_EQ(g.pageHeightDots, 1587);
  EXPECT_EQ(rig.Lay({"a"}).Count(), 1u);
}

TEST(TStringsPrinterTest, EmptyDocumentIsOnePageWithHeaderAndFooter) {
  PrinterRig rig;
  rig.printer.SetHeader("H %p");
  rig.printer.SetHeaderAlign(Align::haLeft);
  rig.printer.SetFooter("- %p -");
  rig.printer.SetFooterAlign(Align::haCenter);
  TMetaFileList pages = rig.Lay({});
  ASSERT_EQ(pages.Count(), 1u);
  const TPagePicture& page = pages.Items(0);
  EXPECT_EQ(page.WidthDots(), 2100);
  EXPECT_EQ(page.HeightDots(), 2970);
  ASSERT_EQ(page.Ops().size(), 2u);
  const TPrintTextOp& header = page.Ops()[0];
  EXPECT_EQ(page.Text(header), "H 1");
  EXPECT_EQ(header.rect, (TPrintRect{0, 0, 2100, 30}));
  EXPECT_EQ(header.align, TPrintTextAlign::Left);
  const TPrintTextOp& footer = page.Ops()[1];
  EXPECT_EQ(page.Text(footer), "- 1 -");
  EXPECT_EQ(footer.rect, (TPrintRect{0, 2940, 2100, 2970}));
  EXPECT_EQ(footer.align, TPrintTextAlign::Center);

  // Every line outside the range: the same.
  rig.printer.SetLineRangeOption(TStringsPrinterRangeOption::roLimited);
  rig.printer.SetStartLine(5);
  rig.printer.SetLastLine(6);
  pages = rig.Lay({"a", "b"});
  ASSERT_EQ(pages.Count(), 1u);
  EXPECT_EQ(Texts(pages.Items(0), TPrintTextRole::Body).size(), 0u);
  EXPECT_EQ(pages.Items(0).Ops().size(), 2u);
}

TEST(TStringsPrinterTest, BandsOnlyForAlignedNonEmptyTexts) {
  struct Case {
    const char* name;
    Align align;
    const char* text;
    bool band;
  } cases[] = {
      {"aligned with text", Align::haRight, "x", true},
      {"aligned but empty", Align::haLeft, "", false},
      {"text but not printed", Align::haNone, "x", false},
  };
  for (const Case& c : cases) {
    PrinterRig rig;
    rig.printer.SetMarginTop(10);
    rig.printer.SetMarginBottom(10);
    rig.printer.SetHeader(c.text);
    rig.printer.SetHeaderAlign(c.align);
    rig.printer.SetFooter(c.text);
    rig.printer.SetFooterAlign(c.align);
    const TPrintGeometry g = rig.printer.Geometry(1);
    EXPECT_EQ(g.bodyTop, c.band ? 130 : 100) << c.name;
    EXPECT_EQ(g.bodyBottom, c.band ? 2840 : 2870) << c.name;
    TMetaFileList pages = rig.Lay({"a"});
    EXPECT_EQ(Ops(pages.Items(0), TPrintTextRole::Body)[0]->rect.top, g.bodyTop) << c.name;
    EXPECT_EQ(Texts(pages.Items(0), TPrintTextRole::Header).size(), c.band ? 1u : 0u) << c.name;
    EXPECT_EQ(Texts(pages.Items(0), TPrintTextRole::Footer).size(), c.band ? 1u : 0u) << c.name;
    if (c.band) {
      EXPECT_EQ(Ops(pages.Items(0), TPrintTextRole::Header)[0]->align, TPrintTextAlign::Right);
    }
  }
}

TEST(TStringsPrinterTest, LineNumberWidthByDigitsOfTheLineCount) {
  const std::pair<size_t, int64_t> cases[] = {{0, 30}, {9, 30}, {10, 40}, {99, 40}, {120, 50}, {1000, 60}};
  for (const auto& [lines, width] : cases) {
    PrinterRig rig;
    rig.printer.SetLineNumber(true);
    EXPECT_EQ(rig.printer.Geometry(lines).lineNumberWidth, width) << lines;
  }
  PrinterRig rig;
  EXPECT_EQ(rig.printer.Geometry(120).lineNumberWidth, 0) << "numbers off";
  rig.printer.SetLineNumber(true);
  TMetaFileList pages = rig.Lay(NumberedLines(120));
  const std::vector<const TPrintTextOp*> numbers = Ops(pages.Items(0), TPrintTextRole::LineNumber);
  ASSERT_EQ(numbers.size(), 120u);
  EXPECT_EQ(pages.Items(0).Text(*numbers[119]), "120:");
  EXPECT_EQ(numbers[119]->rect.Width(), 50);
  EXPECT_EQ(numbers[119]->align, TPrintTextAlign::Right);
  EXPECT_EQ(Ops(pages.Items(0), TPrintTextRole::Body)[0]->rect.left, 50);
}

TEST(TStringsPrinterTest, EveryRowOfAWrappedLineCarriesItsNumber) {
  PrinterRig rig;
  rig.printer.SetMarginLeft(100);
  rig.printer.SetMarginRight(100);  // 100 dots: 30 for "n:" and 70 for text
  rig.printer.SetLineNumber(true);
  rig.printer.SetFirstLineNumber(7);
  TMetaFileList pages = rig.Lay({"abcdefghijklmnopqrst", "b"});
  const TPagePicture& page = pages.Items(0);
  EXPECT_EQ(Texts(page, TPrintTextRole::Body), (std::vector<std::string>{"abcdefg", "hijklmn", "opqrst", "b"}));
  EXPECT_EQ(Texts(page, TPrintTextRole::LineNumber), (std::vector<std::string>{"7:", "7:", "7:", "8:"}));
  const std::vector<const TPrintTextOp*> numbers = Ops(page, TPrintTextRole::LineNumber);
  const std::vector<const TPrintTextOp*> rows = Ops(page, TPrintTextRole::Body);
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(numbers[i]->rect, (TPrintRect{1000, static_cast<int64_t>(i) * 20, 1030, static_cast<int64_t>(i) * 20 + 20}));
    EXPECT_EQ(rows[i]->rect, (TPrintRect{1030, static_cast<int64_t>(i) * 20, 1100, static_cast<int64_t>(i) * 20 + 20}));
    EXPECT_TRUE(rows[i]->clip);
  }
}

TEST(TStringsPrinterTest, ItalicFontWrapsOneCharacterNarrower) {
  PrinterRig rig;
  rig.printer.SetMarginLeft(100);
  rig.printer.SetMarginRight(100);  // 100 dots
  EXPECT_EQ(rig.Lay({std::string(10, 'a')}).Items(0).Ops().size(), 1u);
  rig.measurer.italic = true;
  EXPECT_EQ(rig.printer.Geometry(1).wrapWidth, 90);
  EXPECT_EQ(Texts(rig.Lay({std::string(10, 'a')}).Items(0), TPrintTextRole::Body),
            (std::vector<std::string>{"aaaaaaaaa", "a"}));
}

// The fake printer with a printable page 200 dots high: with the footer
// band of 30 the body takes 8 rows of 20 (plus the row gap).
PrinterRig& ShortPages(PrinterRig& rig) {
  rig.device.pageHeight = 200;
  rig.printer.SetFooter("- %p -");
  rig.printer.SetFooterAlign(Align::haCenter);
  return rig;
}

TEST(TStringsPrinterTest, FooterCountsPagesNotColumns) {
  PrinterRig rig;
  ShortPages(rig).printer.SetColumnCount(2);
  std::vector<std::string> lines;
  for (int i = 1; i <= 40; ++i) lines.push_back(std::to_string(i));
  TMetaFileList pages = rig.Lay(lines);
  ASSERT_EQ(pages.Count(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(Texts(pages.Items(i), TPrintTextRole::Footer), std::vector<std::string>{"- " + std::to_string(i + 1) + " -"});
  }
  const std::vector<const TPrintTextOp*> rows = Ops(pages.Items(0), TPrintTextRole::Body);
  ASSERT_EQ(rows.size(), 16u);
  // Column 2 starts at the top again, one column width plus the 4 mm space over.
  EXPECT_EQ(pages.Items(0).Text(*rows[8]), "9");
  EXPECT_EQ(rows[8]->rect, (TPrintRect{1070, 0, 2100, 20}));
  EXPECT_EQ(rows[7]->rect.top, 140);
  EXPECT_EQ(Texts(pages.Items(1), TPrintTextRole::Body)[0], "17");
  EXPECT_EQ(Texts(pages.Items(2), TPrintTextRole::Body).size(), 8u);
}

TEST(TStringsPrinterTest, RowGapAndPageBreaks) {
  PrinterRig rig;
  ShortPages(rig).printer.SetMarginLine(1);  // 10 dots: rows every 30, 5 on a page
  rig.printer.SetHeader("%p/%F");
  rig.printer.SetHeaderAlign(Align::haLeft);
  rig.printer.SetFileName(S("/home/user/メモ.txt"));
  rig.device.pageHeight = 230;  // header 30, footer 30, body 170
  TMetaFileList pages = rig.Lay(NumberedLines(11));
  ASSERT_EQ(pages.Count(), 3u);
  const std::vector<const TPrintTextOp*> rows = Ops(pages.Items(0), TPrintTextRole::Body);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0]->rect.top, 30);
  EXPECT_EQ(rows[4]->rect.top, 150);
  EXPECT_EQ(Texts(pages.Items(2), TPrintTextRole::Header), std::vector<std::string>{"3/メモ.txt"});
  EXPECT_EQ(Texts(pages.Items(2), TPrintTextRole::Body).size(), 1u);
}

TEST(TStringsPrinterTest, PageNumbersFollowTheFirstNumberAndTheRange) {
  PrinterRig rig;
  ShortPages(rig).printer.SetFirstPageNumber(5);
  TMetaFileList pages = rig.Lay(NumberedLines(9));
  EXPECT_EQ(Texts(pages.Items(1), TPrintTextRole::Footer), std::vector<std::string>{"- 6 -"});
  rig.printer.SetRangeOption(TStringsPrinterRangeOption::roLimited);
  rig.printer.SetStartPage(7);
  pages = rig.Lay(NumberedLines(9));
  EXPECT_EQ(Texts(pages.Items(0), TPrintTextRole::Footer), std::vector<std::string>{"- -1 -"});
  EXPECT_EQ(rig.printer.CurrentPageNumber(), 0);
}

TEST(TStringsPrinterTest, LineRangeSkipsLinesWithoutCountingThem) {
  PrinterRig rig;
  rig.printer.SetLineNumber(true);
  rig.printer.SetFirstLineNumber(10);
  rig.printer.SetLineRangeOption(TStringsPrinterRangeOption::roLimited);
  rig.printer.SetStartLine(2);
  rig.printer.SetLastLine(3);
  TMetaFileList pages = rig.Lay({"a", "b", "c", "d"});
  EXPECT_EQ(Texts(pages.Items(0), TPrintTextRole::Body), (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(Texts(pages.Items(0), TPrintTextRole::LineNumber), (std::vector<std::string>{"10:", "11:"}));
  EXPECT_EQ(rig.printer.CurrentLineNumber(), 11);
}

TEST(TStringsPrinterTest, ProgressPerLineAndCancel) {
  PrinterRig rig;
  rig.printer.SetProgress(&rig.progress);
  TMetaFileList pages;
  EXPECT_TRUE(rig.printer.MakePages(NumberedLines(5), pages, "working"));
  EXPECT_EQ(rig.progress.shown, std::vector<std::string>{"working"});
  ASSERT_EQ(rig.progress.steps.size(), 5u);
  EXPECT_EQ(rig.progress.steps[4].total, 4);
  EXPECT_EQ(rig.progress.steps[4].done, 4);
  EXPECT_EQ(rig.progress.steps[4].text, "working");
  EXPECT_EQ(rig.progress.closed, 1);

  ShortPages(rig);
  rig.progress = test::FakeProgress{};
  rig.progress.cancelAtDone = 12;
  EXPECT_FALSE(rig.printer.MakePages(NumberedLines(30), pages, "working"));
  EXPECT_EQ(pages.Count(), 0u);
  EXPECT_EQ(rig.progress.steps.size(), 13u);
  EXPECT_EQ(rig.progress.closed, 1);

  EXPECT_EQ(ProgressPercent(4, 1), 25);
  EXPECT_EQ(ProgressPercent(8, 1), 12);  // 12.5 to the even neighbour
  EXPECT_EQ(ProgressPercent(8, 3), 38);  // 37.5
  EXPECT_EQ(ProgressPercent(0, 0), 100);
  EXPECT_EQ(ProgressPercent(-1, 0), 100);
  EXPECT_EQ(ProgressPercent(3, 7), 100);
}

TEST(TStringsPrinterTest, SettingsWithoutRoomAreRefusedBeforeLayout) {
  struct Case {
    const char* name;
    std::function<void(PrinterRig&)> setup;
    TPrintMessage message;
  };
  auto postcard = [](PrinterRig& rig) {
    rig.device.paperCode = 43;  // 100 x 148 mm
    rig.device.pageWidth = 1000;
    rig.device.pageHeight = 1480;
  };
  const Case cases[] = {
      {"margins meet", [&](PrinterRig& rig) {
         postcard(rig);
         rig.printer.SetMarginLeft(50);
         rig.printer.SetMarginRight(50);
       }, TPrintMessage::NoRoomForText},
      {"margins cross", [&](PrinterRig& rig) {
         postcard(rig);
         rig.printer.SetMarginLeft(80);
         rig.printer.SetMarginRight(80);
       }, TPrintMessage::NoRoomForText},
      {"three columns and their space", [](PrinterRig& rig) {
         rig.printer.SetMarginLeft(10);
         rig.printer.SetMarginRight(10);
         rig.printer.SetColumnCount(3);
         rig.printer.SetColumnSpace(100);
       }, TPrintMessage::NoRoomForText},
      {"line numbers take the rest", [&](PrinterRig& rig) {
         postcard(rig);
         rig.printer.SetMarginLeft(45);
         rig.printer.SetMarginRight(45);
         rig.printer.SetColumnCount(2);
         rig.printer.SetColumnSpace(0);
         rig.printer.SetLineNumber(true);
       }, TPrintMessage::NoRoomForText},
      {"an italic font leans out of a one-character column", [&](PrinterRig& rig) {
         postcard(rig);
         rig.printer.SetMarginLeft(45);
         rig.printer.SetMarginRight(45);
         rig.measurer.charWidth = 100;
         rig.measurer.italic = true;
       }, TPrintMessage::NoRoomForText},
      {"no printer and a paper without size", [](PrinterRig& rig) {
         rig.device.reachable = false;
         rig.device.paperCode = 300;
       }, TPrintMessage::NoRoomForText},
      {"a row higher than the page", [](PrinterRig& rig) { rig.measurer.lineHeight = 3000; },
       TPrintMessage::NoRoomForRow},
      {"header and footer take the body", [](PrinterRig& rig) {
         rig.measurer.lineHeight = 1000;
         rig.printer.SetHeader("h");
         rig.printer.SetHeaderAlign(Align::haLeft);
         rig.printer.SetFooter("f");
         rig.printer.SetFooterAlign(Align::haLeft);
       }, TPrintMessage::NoRoomForRow},
      {"the row gap takes the body", [](PrinterRig& rig) {
         rig.printer.SetMarginTop(100);
         rig.printer.SetMarginBottom(100);
         rig.printer.SetMarginLine(100);
       }, TPrintMessage::NoRoomForRow},
  };
  for (const Case& c : cases) {
    PrinterRig rig;
    c.setup(rig);
    rig.printer.SetProgress(&rig.progress);
    TMetaFileList pages;
    pages.Add(1, 1, {});
    try {
      rig.printer.MakePages(NumberedLines(100, "abc"), pages, "p");
      ADD_FAILURE() << c.name << ": laid out";
    } catch (const EPrintError& error) {
      EXPECT_EQ(error.Message(), c.message) << c.name;
      EXPECT_STREQ(error.what(), PrintMessage(c.message)) << c.name;
    }
    EXPECT_EQ(pages.Count(), 0u) << c.name;
    EXPECT_TRUE(rig.progress.shown.empty()) << c.name;
  }
  EXPECT_STREQ(PrintMessage(TPrintMessage::NoRoomForText),
               "本文を印刷する幅がありません。余白、段数、段間余白、行番号の設定を見直してください。");
}

TEST(TStringsPrinterTest, VeryLongLineFillsManyPages) {
  PrinterRig rig;
  ShortPages(rig).printer.SetLineNumber(true);
  std::string line;
  while (line.size() < 200000) line += S("長い行 ");
  TMetaFileList pages = rig.Lay({line, "z"});
  size_t rows = 0;
  for (size_t i = 0; i < pages.Count(); ++i) {
    for (const std::string& number : Texts(pages.Items(i), TPrintTextRole::LineNumber)) {
      if (number == "1:") ++rows;
    }
  }
  EXPECT_GT(pages.Count(), 100u);
  // Every page but the last is full; "z" is the one row of line 2.
  EXPECT_EQ(rows + 1, (pages.Count() - 1) * 8 + Texts(pages.Items(pages.Count() - 1), TPrintTextRole::Body).size());
  EXPECT_EQ(Texts(pages.Items(pages.Count() - 1), TPrintTextRole::LineNumber).back(), "2:");
}

}  // namespace
}  // namespace kerv
