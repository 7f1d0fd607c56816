// The layout a piece at a time (the preview's way) against the whole layout
// in one go: the same pages, and only as much work as the pages asked for.

#include <gtest/gtest.h>

#include <functional>

#include "print/TPageLayout.h"
#include "tests/print/PrintTestSupport.h"

namespace kerv {
namespace {

using test::PrinterRig;
using Align = TStringsPrinterHeaderAlign;

// Every op of every page as one comparable text.
std::vector<std::string> Dump(const TMetaFileList& pages) {
  std::vector<std::string> out;
  for (size_t i = 0; i < pages.Count(); ++i) {
    const TPagePicture& page = pages.Items(i);
    out.push_back("page " + std::to_string(i));
    for (const TPrintTextOp& op : page.Ops()) {
      out.push_back(std::to_string(static_cast<int>(op.role)) + " " + std::to_string(op.rect.left) + "," +
                    std::to_string(op.rect.top) + "," + std::to_string(op.rect.right) + "," +
                    std::to_string(op.rect.bottom) + " " + std::to_string(static_cast<int>(op.align)) + " " +
                    std::string(page.Text(op)));
    }
  }
  return out;
}

std::vector<std::string> MixedLines(int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) {
    std::string line = test::S("行") + std::to_string(i);
    if (i % 7 == 0) line += std::string(400, 'w');  // wraps into several rows
    if (i % 11 == 0) line.clear();
    lines.push_back(line);
  }
  return lines;
}

TEST(TPageLayoutTest, PiecesGiveThePagesOfTheWholeLayout) {
  const struct Case {
    const char* name;
    std::function<void(TStringsPrinter&)> setup;
  } cases[] = {
      {"plain", [](TStringsPrinter&) {}},
      {"two columns with numbers, header and footer",
       [](TStringsPrinter& p) {
         p.SetColumnCount(2);
         p.SetLineNumber(true);
         p.SetHeader("%p head");
         p.SetHeaderAlign(Align::haRight);
         p.SetFooter("- %p -");
         p.SetFooterAlign(Align::haCenter);
       }},
      {"a line range and a page range",
       [](TStringsPrinter& p) {
         p.SetLineRangeOption(TStringsPrinterRangeOption::roLimited);
         p.SetStartLine(50);
         p.SetLastLine(700);
         p.SetRangeOption(TStringsPrinterRangeOption::roLimited);
         p.SetStartPage(3);
         p.SetFooter("%p");
         p.SetFooterAlign(Align::haLeft);
       }},
  };
  const std::vector<std::string> lines = MixedLines(1000);
  for (const Case& c : cases) {
    PrinterRig whole;
    c.setup(whole.printer);
    const std::vector<std::string> expected = Dump(whole.Lay(lines));

    PrinterRig rig;
    c.setup(rig.printer);
    TMetaFileList pages;
    TPageLayout layout(rig.printer, lines, pages);
    layout.LayOutPages(1);
    EXPECT_EQ(layout.CompletePages(), 1u) << c.name;
    EXPECT_EQ(pages.Count(), 2u) << c.name;  // the second page is begun, not complete
    EXPECT_LT(layout.LinesDone(), lines.size()) << c.name;
    layout.LayOutPages(3);
    EXPECT_EQ(layout.CompletePages(), 3u) << c.name;
    layout.Finish();
    EXPECT_TRUE(layout.Finished()) << c.name;
    EXPECT_EQ(layout.CompletePages(), pages.Count()) << c.name;
    EXPECT_EQ(Dump(pages), expected) << c.name;
    EXPECT_EQ(rig.printer.CurrentPageNumber(), whole.printer.CurrentPageNumber()) << c.name;
  }
}

TEST(TPageLayoutTest, ShortAndEmptyTextsFinishOnTheirFirstPage) {
  for (size_t count : {size_t{0}, size_t{3}}) {
    PrinterRig rig;
    rig.printer.SetFooter("f");
    rig.printer.SetFooterAlign(Align::haLeft);
    const std::vector<std::string> lines = test::NumberedLines(static_cast<int>(count));
    TMetaFileList pages;
    TPageLayout layout(rig.printer, lines, pages);
    EXPECT_EQ(layout.CompletePages(), 0u);
    layout.LayOutPages(5);
    EXPECT_TRUE(layout.Finished()) << count;
    ASSERT_EQ(pages.Count(), 1u) << count;
    EXPECT_EQ(test::Texts(pages.Items(0), TPrintTextRole::Footer), std::vector<std::string>{"f"}) << count;
    layout.Step();  // nothing more to do
    EXPECT_EQ(pages.Count(), 1u);
  }
}

}  // namespace
}  // namespace kerv
