// The printer's name and paper: the built-in paper table, the forms cache
// and its failures.

#include <gtest/gtest.h>

#include "print/TStringsPrinterInfo.h"
#include "print/fake/FakePrinterDevice.h"

namespace kerv {
namespace {

TEST(PrinterInfoTest, BuiltInTableHoldsCodes1To68) {
  const auto codes = TStringsPrinterInfo::PaperCodes();
  ASSERT_EQ(codes.size(), 68u);
  for (size_t i = 0; i < codes.size(); ++i) {
    EXPECT_EQ(codes[i].code, static_cast<int>(i) + 1);
    EXPECT_LE(codes[i].widthMm, codes[i].heightMm) << codes[i].name << " is portrait";
  }
  EXPECT_STREQ(codes.front().name, "DMPAPER_LETTER");
  EXPECT_STREQ(codes.back().name, "DMPAPER_A3_EXTRA_TRANSVERSE");
  struct Size {
    int code, width, height;
  } sizes[] = {
      {1, 216, 279}, {5, 216, 356}, {8, 297, 420}, {9, 210, 297}, {11, 148, 210}, {12, 250, 354}, {13, 182, 257},
      {24, 100, 100}, {25, 100, 100}, {26, 100, 100}, {27, 110, 220}, {37, 98, 191}, {43, 100, 148},
      {48, 100, 100}, {49, 100, 100}, {57, 227, 356}, {66, 420, 594}, {68, 322, 445},
  };
  for (const Size& s : sizes) {
    const TPaperCode* entry = TStringsPrinterInfo::FindPaperCode(s.code);
    ASSERT_NE(entry, nullptr) << s.code;
    EXPECT_EQ(entry->widthMm, s.width) << s.code;
    EXPECT_EQ(entry->heightMm, s.height) << s.code;
  }
  EXPECT_EQ(TStringsPrinterInfo::FindPaperCode(0), nullptr);
  EXPECT_EQ(TStringsPrinterInfo::FindPaperCode(69), nullptr);
}

TEST(PrinterInfoTest, PrinterName) {
  FakePrinterDevice device;
  TStringsPrinterInfo info(device);
  EXPECT_EQ(info.PrinterName(), "Fake Printer");
  device.name.reset();
  EXPECT_EQ(info.PrinterName(), "不明");
}

TEST(PrinterInfoTest, PaperSizeFromFormsThenTable) {
  FakePrinterDevice device;
  device.forms = std::vector<TPrinterForm>{
      {"Hagaki", 1000, 1480, 43}, {"A4 (own)", 2104, 2966, 9}, {"A4 again", 2000, 3000, 9}, {"Odd", 1905, 1904, 300}};
  TStringsPrinterInfo info(device);
  struct Case {
    const char* name;
    std::optional<int> code;
    std::optional<TPaperSize> size;
  } cases[] = {
      {"first form of the code, rounded", 9, TPaperSize{210, 297}},
      {"a form of the printer's own code", 300, TPaperSize{191, 190}},
      {"no settings: A4", std::nullopt, TPaperSize{210, 297}},
      {"not a form: the table", 8, TPaperSize{297, 420}},
      {"neither knows it", 500, std::nullopt},
  };
  for (const Case& c : cases) {
    device.paperCode = c.code;
    EXPECT_EQ(info.PaperSize(), c.size) << c.name;
  }
  ASSERT_EQ(info.Forms().size(), 4u);
  EXPECT_EQ(info.Forms()[0], (TPaperItem{"Hagaki", 100, 148, 43}));
}

TEST(PrinterInfoTest, FormsAreReadAgainOnlyForAnotherPrinter) {
  FakePrinterDevice device;
  device.forms = std::vector<TPrinterForm>{{"A5", 1480, 2100, 9}};
  TStringsPrinterInfo info(device);
  EXPECT_EQ(info.PaperSize(), (TPaperSize{148, 210}));
  EXPECT_EQ(info.PaperSize(), (TPaperSize{148, 210}));
  EXPECT_EQ(device.formsReads, 1);

  device.forms = std::vector<TPrinterForm>{};
  EXPECT_EQ(info.PaperSize(), (TPaperSize{148, 210})) << "same printer: cached";
  device.printerIndex = 1;
  EXPECT_EQ(info.PaperSize(), (TPaperSize{210, 297}));
  EXPECT_EQ(device.formsReads, 2);

  device.printerIndex = 2;
  device.formsThrow = true;
  EXPECT_EQ(info.PaperSize(), (TPaperSize{210, 297}));
  EXPECT_TRUE(info.Forms().empty());
  device.printerIndex = 3;
  device.formsThrow = false;
  device.forms.reset();
  EXPECT_TRUE(info.Forms().empty());
  EXPECT_EQ(device.formsReads, 4);
}

}  // namespace
}  // namespace kerv
