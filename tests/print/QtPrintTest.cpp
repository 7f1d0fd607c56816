// Printing's Qt half: measuring with real fonts, replaying pages, and PDF
// output read back with pdftotext (header, footer, line numbers, copies,
// failures).

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/qt/QtText.h"
#include "platform/qt/print/QtPageReplay.h"
#include "platform/qt/print/QtPdfOutput.h"
#include "platform/qt/print/QtPrintFont.h"
#include "platform/qt/print/QtPrintMeasurer.h"
#include "print/EPrintError.h"
#include "print/TStringsPrinter.h"
#include "tests/print/PdfText.h"
#include "tests/print/PrintTestSupport.h"
#include "tests/QtTestApplication.h"

namespace kerv {
namespace {

using test::S;
using test::TestCodePage;
using Align = TStringsPrinterHeaderAlign;

// 10 points on a 1200 dpi page, as the layout makes it.
TPageFont PageFont() {
  TPageFont font;
  font.font.name = S("ＭＳ ゴシック");
  font.font.size = 125;
  font.emDots = 167;
  return font;
}

class QtPrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication<QGuiApplication>();
    char pattern[] = "/tmp/kervprintXXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = std::string(pattern) + "/";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string dir_;
};

TEST_F(QtPrintTest, WidthsAddUpAsQtMeasuresTheWholeText) {
  QtPrintMeasurer measurer(TestCodePage(), nullptr);
  measurer.SelectFont(PageFont());
  const TPrintFontMetrics metrics = measurer.Metrics();
  EXPECT_GE(metrics.lineHeight, 167);
  EXPECT_GT(metrics.averageCharWidth, 0);
  EXPECT_FALSE(metrics.italic);
  QFontMetricsF qt(measurer.Font());
  for (const char* utf8 : {"日本語のテキストを印刷します。", "Plain ASCII & symbols: 1234567890", "ｶﾀｶﾅ混じり abc 漢字", ""}) {
    const std::string sjis = S(utf8);
    const double expected = qt.horizontalAdvance(SjisToQString(TestCodePage(), sjis));
    EXPECT_NEAR(static_cast<double>(measurer.TextWidth(sjis)), expected, 1.0) << utf8;
    // The sum of the parts is the whole: wrapping may cut anywhere.
    const std::string half = sjis.substr(0, sjis.size() / 2 / 2 * 2);
    EXPECT_NEAR(measurer.Advance(half) + measurer.Advance(std::string_view(sjis).substr(half.size())),
                measurer.Advance(sjis), 1e-6)
        << utf8;
  }
  // A lead byte without its trail byte is measured, not read past.
  EXPECT_GE(measurer.TextWidth(std::string_view("a\x82", 2)), measurer.TextWidth("a"));
}

TEST_F(QtPrintTest, ATextWiderThanItsBoxIsClippedToIt) {
  // One page of 1000 x 200 dots drawn onto an image of the same size: a
  // clipped text leaves nothing right of its box, an unclipped one does.
  auto darkColumns = [](bool clip) {
    TPagePicture page(1000, 200, PageFont());
    page.DrawText(TPrintTextRole::Body, {0, 0, 300, 180}, TPrintTextAlign::Left, S("長い長い長い長い長い長い行"), clip);
    QImage image(1000, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtPageReplay(TestCodePage()).Draw(painter, page, QRectF(0, 0, 1000, 200));
    painter.end();
    int rightmost = -1;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) < 128) rightmost = std::max(rightmost, x);
      }
    }
    return rightmost;
  };
  EXPECT_LT(darkColumns(true), 300);
  EXPECT_GT(darkColumns(false), 400);
}

TEST_F(QtPrintTest, PdfDeviceIsTheWholeSheetWithoutStrips) {
  QtPdfDevice portrait(PdfPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait), 96);
  EXPECT_EQ(portrait.HorizontalDpi(), 1200);
  EXPECT_NEAR(static_cast<double>(portrait.PageWidthDots()), 210 / 25.4 * 1200, 8);
  EXPECT_NEAR(static_cast<double>(portrait.PageHeightDots()), 297 / 25.4 * 1200, 8);
  EXPECT_EQ(portrait.CurrentPaperCode(), 9);
  QtPdfDevice landscape(PdfPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape), 96);
  EXPECT_EQ(landscape.PageWidthDots(), portrait.PageHeightDots());
  EXPECT_TRUE(landscape.Landscape());
  QtPrintMeasurer measurer(TestCodePage(), nullptr);
  test::FixedClock clock;
  for (IPrinterDevice* device : std::initializer_list<IPrinterDevice*>{&portrait, &landscape}) {
    TStringsPrinter printer(*device, measurer, clock);
    const TPrintOffsets strips = printer.PrintOffsets();
    // Rounding points to dots may leave a dot or two over, never a strip.
    EXPECT_LE(strips.left + strips.right, 4);
    EXPECT_LE(strips.top + strips.bottom, 4);
    EXPECT_EQ(printer.PrinterInfo().PrinterName(), "PDF ファイルに出力");
  }
}

// A 120-line memo printed as the dialog does by default, with the bands on
// and line numbers.
struct PdfRig {
  QPageLayout layout = PdfPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait);
  QtPdfDevice device{layout, 96};
  QtPrintMeasurer measurer{TestCodePage(), nullptr};
  test::FixedClock clock;
  TStringsPrinter printer{device, measurer, clock};
  std::vector<std::string> lines;

  PdfRig() {
    TPrintFont font;
    font.name = S("ＭＳ ゴシック");
    font.size = 12;
    printer.SetFont(font);
    printer.SetMarginTop(15);
    printer.SetMarginLeft(10);
    printer.SetMarginBottom(20);
    printer.SetMarginRight(10);
    printer.SetFileName(S("/home/user/文書/memo.txt"));
    printer.SetHeader(S("%F %y/%m/%d"));
    printer.SetHeaderAlign(Align::haLeft);
    printer.SetFooter("- %p -");
    printer.SetFooterAlign(Align::haCenter);
    printer.SetLineNumber(true);
    for (int i = 1; i <= 120; ++i) lines.push_back(S("メモ " + std::to_string(i) + " 行目"));
  }
  void Print(const std::string& path) {
    QtPdfJob job(QString::fromStdString(path), layout, TestCodePage());
    ASSERT_TRUE(printer.Print(lines, job));
  }
};

TEST_F(QtPrintTest, PdfPagesCarryHeaderFooterAndLineNumbers) {
  if (!test::HavePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  PdfRig rig;
  const std::string path = dir_ + "memo.pdf";
  rig.Print(path);
  const auto pages = test::PdfPages(path);
  ASSERT_TRUE(pages.has_value());
  ASSERT_EQ(pages->size(), 3u);  // 12 points at these margins: about 50 rows a page
  for (size_t i = 0; i < pages->size(); ++i) {
    const std::string& page = (*pages)[i];
    EXPECT_NE(page.find("memo.txt 2024/3/5"), std::string::npos) << i;
    EXPECT_NE(page.find("- " + std::to_string(i + 1) + " -"), std::string::npos) << i;
  }
  EXPECT_NE((*pages)[0].find("1:メモ 1 行目"), std::string::npos);
  EXPECT_NE(pages->back().find("120:メモ 120 行目"), std::string::npos);
  // The header is the page's first line and the footer its last.
  EXPECT_EQ((*pages)[1].find_first_not_of(" \n"), (*pages)[1].find("memo.txt"));
  const std::string& last = pages->back();
  EXPECT_NE(last.substr(last.find_last_not_of(" \n") - 5).find("- 3 -"), std::string::npos);
}

TEST_F(QtPrintTest, UncollatedCopiesRepeatEachPageInThePdf) {
  if (!test::HavePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  PdfRig rig;
  rig.lines.resize(60);  // two pages
  rig.printer.SetCopies(2);
  const std::string uncollated = dir_ + "u.pdf";
  rig.Print(uncollated);
  rig.printer.SetCollate(true);
  const std::string collated = dir_ + "c.pdf";
  rig.Print(collated);
  auto footers = [](const std::vector<std::string>& pages) {
    std::string order;
    for (const std::string& page : pages) order += page.find("- 1 -") != std::string::npos ? '1' : '2';
    return order;
  };
  EXPECT_EQ(footers(*test::PdfPages(uncollated)), "1122");
  EXPECT_EQ(footers(*test::PdfPages(collated)), "1212");
}

TEST_F(QtPrintTest, APdfThatCannotBeWrittenIsReportedAndLeavesNothing) {
  PdfRig rig;
  // No such folder: drawing cannot begin.
  const std::string missing = dir_ + "no/such/folder/out.pdf";
  QtPdfJob job(QString::fromStdString(missing), rig.layout, TestCodePage());
  try {
    rig.printer.Print(rig.lines, job);
    ADD_FAILURE() << "reported success";
  } catch (const EPrintError& error) {
    EXPECT_EQ(error.Message(), TPrintMessage::PrintStartFailed);
  }
  EXPECT_FALSE(std::filesystem::exists(missing));
  // A job abandoned half way leaves neither the PDF nor a temporary file,
  // and an older file of that name as it was.
  const std::string kept = dir_ + "kept.pdf";
  { std::ofstream(kept) << "older"; }
  {
    QtPdfJob abandoned(QString::fromStdString(kept), rig.layout, TestCodePage());
    ASSERT_TRUE(abandoned.Begin(1));
    TPagePicture page(100, 100, PageFont());
    abandoned.DrawPage(page, {0, 0, 100, 100});
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()), 1);
  std::ifstream in(kept);
  std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(contents, "older");
}

}  // namespace
}  // namespace kerv
