#pragma once
// A print job on the current printer (or PDF file), driven by
// TStringsPrinter::Print in the order of a TPrintJobPlan.

#include "print/TPagePicture.h"

namespace kerv {

class IPrintJob {
 public:
  virtual ~IPrintJob() = default;
  // Begins the job with the printer making printerCopies copies of each
  // page; false when drawing cannot begin (no printer, file not writable).
  virtual bool Begin(int printerCopies) = 0;
  // Starts the next sheet; false on failure.
  virtual bool NewPage() = 0;
  // Replays a page stretched over target (the whole printable page).
  virtual void DrawPage(const TPagePicture& page, const TPrintRect& target) = 0;
  // Ends the job; called after Begin succeeded, also after a failure. False
  // when the output could not be finished.
  virtual bool End() = 0;
};

}  // namespace kerv
