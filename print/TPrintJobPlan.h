#pragma once
// Which recorded pages a print job sends, in which order, and how many
// copies the printer itself is asked to make.

#include <cstddef>
#include <vector>

#include "print/StringsPrinterEnums.h"

namespace kerv {

struct TPrintJobOptions {
  int copies = 1;
  bool collate = false;
  int firstPageNumber = 1;
  TStringsPrinterRangeOption rangeOption = TStringsPrinterRangeOption::roWhole;
  int startPage = 1;  // 1-based, with roLimited
  int lastPage = 999999;
  TStringsPrinterPageOption pageOption = TStringsPrinterPageOption::poBoth;
};

struct TPrintSheet {
  size_t pageIndex = 0;         // 0-based index in the page list
  bool newPageBefore = false;   // false only for the first sheet of the job
  bool operator==(const TPrintSheet&) const = default;
};

struct TPrintJobPlan {
  int printerCopies = 1;            // copies the printer makes of each sheet
  std::vector<TPrintSheet> sheets;  // empty: nothing to print, start no job
};

// Collated copies send the selected pages copies times (1, 2, 3, 1, 2, 3)
// and ask the printer for one copy each; uncollated ones send them once and
// ask the printer for copies. A page is left out when a limited range does
// not hold its index + 1, when its number is below 1, or when its number
// has the wrong parity. Copies below 1 print one copy.
TPrintJobPlan PlanPrintJob(const TPrintJobOptions& options, size_t pageCount);

// The printed number of page pageIndex (0-based).
long long PrintedPageNumber(const TPrintJobOptions& options, size_t pageIndex);

}  // namespace kerv
