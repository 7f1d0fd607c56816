// The order pages are sent in (copies, collation, ranges, parity) and a
// print job driven through a recording fake, failures included.

#include <gtest/gtest.h>

#include "print/EPrintError.h"
#include "tests/print/PrintTestSupport.h"

namespace kerv {
namespace {

using test::NumberedLines;
using test::PrinterRig;
using Range = TStringsPrinterRangeOption;
using Parity = TStringsPrinterPageOption;

struct PlanCase {
  const char* name;
  TPrintJobOptions options;
  size_t pageCount;
  int printerCopies;
  std::vector<size_t> pages;  // indices sent, in order
};

TEST(PrintJobTest, Plans) {
  const PlanCase cases[] = {
      {"collated copies", {2, true}, 3, 1, {0, 1, 2, 0, 1, 2}},
      {"uncollated copies", {2, false}, 3, 2, {0, 1, 2}},
      {"one copy", {1, false}, 2, 1, {0, 1}},
      {"copies below one print once", {0, true}, 2, 1, {0, 1}},
      {"page range", {1, false, 1, Range::roLimited, 2, 3}, 5, 1, {1, 2}},
      {"range past the end", {1, false, 1, Range::roLimited, 4, 9}, 5, 1, {3, 4}},
      {"odd numbers", {1, false, 1, Range::roWhole, 1, 999999, Parity::poOdd}, 5, 1, {0, 2, 4}},
      {"even numbers", {1, false, 1, Range::roWhole, 1, 999999, Parity::poEven}, 5, 1, {1, 3}},
      {"parity of the printed number", {1, false, 2, Range::roWhole, 1, 999999, Parity::poOdd}, 4, 1, {1, 3}},
      {"a limited range counts from the first page number", {1, false, 4, Range::roLimited, 2, 3, Parity::poEven}, 5, 1,
       {1}},
      {"limited range renumbers from its start", {1, false, 1, Range::roLimited, 2, 4, Parity::poOdd}, 5, 1, {1, 3}},
      {"nothing selected", {3, true, 1, Range::roWhole, 1, 999999, Parity::poEven}, 1, 1, {}},
  };
  for (const PlanCase& c : cases) {
    const TPrintJobPlan plan = PlanPrintJob(c.options, c.pageCount);
    EXPECT_EQ(plan.printerCopies, c.printerCopies) << c.name;
    std::vector<size_t> pages;
    for (size_t i = 0; i < plan.sheets.size(); ++i) {
      pages.push_back(plan.sheets[i].pageIndex);
      EXPECT_EQ(plan.sheets[i].newPageBefore, i > 0) << c.name << " sheet " << i;
    }
    EXPECT_EQ(pages, c.pages) << c.name;
  }
  TPrintJobOptions limited{1, false, 1, Range::roLimited, 3};
  EXPECT_EQ(PrintedPageNumber(limited, 0), -1);
  EXPECT_EQ(PrintedPageNumber(limited, 2), 1);
}

class RecordingJob : public IPrintJob {
 public:
  std::vector<std::string> calls;
  bool beginResult = true;
  int newPageFailsAt = -1;  // the n-th NewPage (0-based) fails
  bool endResult = true;
  int newPages = 0;

  bool Begin(int printerCopies) override {
    calls.push_back("begin " + std::to_string(printerCopies));
    return beginResult;
  }
  bool NewPage() override {
    calls.push_back("new page");
    return newPages++ != newPageFailsAt;
  }
  void DrawPage(const TPagePicture& page, const TPrintRect& target) override {
    calls.push_back("draw " + test::U(page.Text(page.Ops().back())) + " " + std::to_string(target.right) + "x" +
                    std::to_string(target.bottom));
  }
  bool End() override {
    calls.push_back("end");
    return endResult;
  }
};

// Three pages of 8 rows, each ending in its footer "- n -".
PrinterRig& ThreePages(PrinterRig& rig) {
  rig.device.pageHeight = 200;
  rig.printer.SetFooter("- %p -");
  rig.printer.SetFooterAlign(TStringsPrinterHeaderAlign::haCenter);
  return rig;
}

TEST(PrintJobTest, CollatedCopiesSendTheSequenceTwice) {
  PrinterRig rig;
  ThreePages(rig).printer.SetCopies(2);
  rig.printer.SetCollate(true);
  rig.printer.SetProgress(&rig.progress);
  RecordingJob job;
  EXPECT_TRUE(rig.printer.Print(NumberedLines(20), job));
  EXPECT_EQ(rig.progress.shown, std::vector<std::string>{"印刷中"});
  const std::vector<std::string> expected = {
      "begin 1", "draw - 1 - 2100x200", "new page", "draw - 2 - 2100x200", "new page", "draw - 3 - 2100x200",
      "new page", "draw - 1 - 2100x200", "new page", "draw - 2 - 2100x200", "new page", "draw - 3 - 2100x200", "end"};
  EXPECT_EQ(job.calls, expected);

  rig.printer.SetCollate(false);
  RecordingJob uncollated;
  EXPECT_TRUE(rig.printer.Print(NumberedLines(20), uncollated));
  EXPECT_EQ(uncollated.calls, (std::vector<std::string>{"begin 2", "draw - 1 - 2100x200", "new page",
                                                        "draw - 2 - 2100x200", "new page", "draw - 3 - 2100x200", "end"}));
}

TEST(PrintJobTest, PagesOfAPreviewPrintAsPrintWouldSendThem) {
  PrinterRig rig;
  ThreePages(rig).printer.SetCopies(2);
  RecordingJob printed;
  EXPECT_TRUE(rig.printer.Print(NumberedLines(20), printed));
  TMetaFileList pages;
  ASSERT_TRUE(rig.printer.MakePages(NumberedLines(20), pages, "p"));
  RecordingJob fromPreview;
  rig.printer.PrintPages(pages, fromPreview);
  EXPECT_EQ(fromPreview.calls, printed.calls);
}

TEST(PrintJobTest, CancelledLayoutStartsNoJob) {
  PrinterRig rig;
  ThreePages(rig).printer.SetProgress(&rig.progress);
  rig.progress.cancelAtDone = 0;
  RecordingJob job;
  EXPECT_FALSE(rig.printer.Print(NumberedLines(20), job));
  EXPECT_TRUE(job.calls.empty());
}

TEST(PrintJobTest, NothingSelectedStartsNoJob) {
  PrinterRig rig;
  rig.printer.SetPageOption(Parity::poEven);
  RecordingJob job;
  EXPECT_TRUE(rig.printer.Print(NumberedLines(3), job));
  EXPECT_TRUE(job.calls.empty());
}

TEST(PrintJobTest, FailuresAreReportedAndTheJobEnded) {
  struct Case {
    const char* name;
    bool beginResult;
    int newPageFailsAt;
    bool endResult;
    TPrintMessage message;
    std::vector<std::string> calls;
  } cases[] = {
      {"drawing cannot begin", false, -1, true, TPrintMessage::PrintStartFailed, {"begin 1"}},
      {"a page cannot be started", true, 1, true, TPrintMessage::PrintPageFailed,
       {"begin 1", "draw - 1 - 2100x200", "new page", "draw - 2 - 2100x200", "new page", "end"}},
      {"the output cannot be finished", true, -1, false, TPrintMessage::PrintEndFailed,
       {"begin 1", "draw - 1 - 2100x200", "new page", "draw - 2 - 2100x200", "new page", "draw - 3 - 2100x200", "end"}},
  };
  for (const Case& c : cases) {
    PrinterRig rig;
    ThreePages(rig).printer.SetCopies(1);
    RecordingJob job;
    job.beginResult = c.beginResult;
    job.newPageFailsAt = c.newPageFailsAt;
    job.endResult = c.endResult;
    try {
      rig.printer.Print(NumberedLines(20), job);
      ADD_FAILURE() << c.name << ": reported success";
    } catch (const EPrintError& error) {
      EXPECT_EQ(error.Message(), c.message) << c.name;
    }
    EXPECT_EQ(job.calls, c.calls) << c.name;
  }
}

}  // namespace
}  // namespace kerv
