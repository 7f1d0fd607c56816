#include "print/TPrintJobPlan.h"

namespace kerv {

long long PrintedPageNumber(const TPrintJobOptions& options, size_t pageIndex) {
  long long number = static_cast<long long>(pageIndex) + options.firstPageNumber;
  if (options.rangeOption == TStringsPrinterRangeOption::roLimited) number += 1 - options.startPage;
  return number;
}

TPrintJobPlan PlanPrintJob(const TPrintJobOptions& options, size_t pageCount) {
  std::vector<size_t> selected;
  for (size_t j = 0; j < pageCount; ++j) {
    const long long pageNo = static_cast<long long>(j) + 1;
    if (options.rangeOption == TStringsPrinterRangeOption::roLimited &&
        (pageNo < options.startPage || pageNo > options.lastPage)) {
      continue;
    }
    const long long number = PrintedPageNumber(options, j);
    if (number < 1) continue;
    if (options.pageOption == TStringsPrinterPageOption::poOdd && number % 2 == 0) continue;
    if (options.pageOption == TStringsPrinterPageOption::poEven && number % 2 != 0) continue;
    selected.push_back(j);
  }

  const int copies = options.copies < 1 ? 1 : options.copies;
  TPrintJobPlan plan;
  plan.printerCopies = options.collate ? 1 : copies;
  const int passes = options.collate ? copies : 1;
  if (selected.empty()) return plan;
  plan.sheets.reserve(selected.size() * static_cast<size_t>(passes));
  for (int pass = 0; pass < passes; ++pass) {
    for (size_t index : selected) plan.sheets.push_back(TPrintSheet{index, !plan.sheets.empty()});
  }
  return plan;
}

}  // namespace kerv
