#pragma once
// A printer for tests: every answer is a public field. By default an A4
// printer at 254 dpi (10 dots per millimetre) with a printable page of the
// whole sheet, on a 96 dpi screen.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "print/IPrinterDevice.h"

namespace kerv {

class FakePrinterDevice : public IPrinterDevice {
 public:
  bool reachable = true;
  int printerIndex = 0;
  std::optional<std::string> name = std::string("Fake Printer");
  std::optional<std::vector<TPrinterForm>> forms = std::vector<TPrinterForm>{};
  bool formsThrow = false;
  std::optional<int> paperCode = 9;
  int dpi = 254;
  int64_t pageWidth = 2100;
  int64_t pageHeight = 2970;
  bool landscape = false;
  int screenDpi = 96;
  int formsReads = 0;  // how often the forms were asked for

  bool Reachable() override { return reachable; }
  int PrinterIndex() override { return printerIndex; }
  std::optional<std::string> PrinterName() override { return name; }
  std::optional<std::vector<TPrinterForm>> PaperForms() override {
    ++formsReads;
    if (formsThrow) throw std::runtime_error("forms");
    return forms;
  }
  std::optional<int> CurrentPaperCode() override { return paperCode; }
  int HorizontalDpi() override { return dpi; }
  int64_t PageWidthDots() override { return pageWidth; }
  int64_t PageHeightDots() override { return pageHeight; }
  bool Landscape() override { return landscape; }
  int ScreenDpi() override { return screenDpi; }
};

}  // namespace kerv
