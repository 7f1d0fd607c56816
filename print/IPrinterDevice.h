#pragma once
// The current printer as printing sees it. The window half answers from its
// printer (or PDF writer) and the screen; tests use FakePrinterDevice.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kerv {

// A paper form as the printer lists it.
struct TPrinterForm {
  std::string name;        // UTF-8
  int widthTenthsMm = 0;   // portrait
  int heightTenthsMm = 0;
  uint16_t code = 0;       // paper code, as in the built-in table
};

class IPrinterDevice {
 public:
  virtual ~IPrinterDevice() = default;
  // Whether a printer can be reached at all. When it cannot, the layout uses
  // the paper table and the screen resolution, and no strips.
  virtual bool Reachable() = 0;
  // Index of the current printer among the installed ones; -1 when none.
  virtual int PrinterIndex() = 0;
  // The current printer's name (UTF-8); nothing when it cannot be read.
  virtual std::optional<std::string> PrinterName() = 0;
  // The printer's own paper forms; nothing (or an exception) on failure.
  virtual std::optional<std::vector<TPrinterForm>> PaperForms() = 0;
  // The paper code of the printer's current settings; nothing without them.
  virtual std::optional<int> CurrentPaperCode() = 0;
  // Horizontal resolution in dots per inch.
  virtual int HorizontalDpi() = 0;
  // The printable page in dots, as oriented now.
  virtual int64_t PageWidthDots() = 0;
  virtual int64_t PageHeightDots() = 0;
  virtual bool Landscape() = 0;
  // The screen's horizontal resolution (96 when there is no screen).
  virtual int ScreenDpi() = 0;
};

}  // namespace kerv
