#pragma once
// The current printer's name and paper size. The printer's paper forms are
// cached and read again only when another printer becomes current; a paper
// the printer does not list is looked up in the built-in table of the 68
// standard paper codes.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "print/IPrinterDevice.h"

namespace kerv {

// A paper form in whole millimetres, portrait.
struct TPaperItem {
  std::string name;
  int widthMm = 0;
  int heightMm = 0;
  uint16_t code = 0;
  bool operator==(const TPaperItem&) const = default;
};
using TPaperItemList = std::vector<TPaperItem>;

struct TPaperSize {
  int widthMm = 0;
  int heightMm = 0;
  bool operator==(const TPaperSize&) const = default;
};

// An entry of the built-in table.
struct TPaperCode {
  int code;
  const char* name;
  int widthMm;  // portrait
  int heightMm;
};

class TStringsPrinterInfo {
 public:
  static constexpr int kDefaultPaperCode = 9;  // DMPAPER_A4

  // Codes 1 to 68 in order.
  static std::span<const TPaperCode> PaperCodes();
  // Nothing for a code outside 1..68.
  static const TPaperCode* FindPaperCode(int code);

  explicit TStringsPrinterInfo(IPrinterDevice& device) : device_(device) {}

  // UTF-8; "不明" when the printer's name cannot be read.
  std::string PrinterName();
  // The current paper, portrait: the printer's first form with the current
  // code, else the built-in table; nothing for a code neither knows.
  std::optional<TPaperSize> PaperSize();
  // The printer's current paper code; A4 when it has no current settings.
  int CurrentPaperCode();
  // The current printer's forms; read again when the printer index changed.
  const TPaperItemList& Forms();

 private:
  IPrinterDevice& device_;
  std::optional<int> formsPrinterIndex_;  // the printer the cache was built for
  TPaperItemList forms_;
};

}  // namespace kerv
