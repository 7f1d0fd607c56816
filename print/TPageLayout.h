#pragma once
// Pages laid out a line at a time. MakePages runs it to the end in one go;
// the preview runs it only as far as the pages it shows, so that the first
// page of a very long text is on screen long before the last one is laid out.

#include <cstddef>
#include <cstdint>
#include <string>

#include "print/TPagePicture.h"
#include "print/TStringsPrinter.h"

namespace kerv {

class TPageLayout {
 public:
  // Computes the geometry (EPrintError when the settings leave no room for a
  // row), empties pages and starts the first page with its header. printer,
  // lines and pages must outlive the layout; the printer's properties must
  // not change while it runs.
  TPageLayout(TStringsPrinter& printer, TPrintLines lines, TMetaFileList& pages);
  TPageLayout(const TPageLayout&) = delete;
  TPageLayout& operator=(const TPageLayout&) = delete;

  // Lays out the next line; after the last line, draws the last footer.
  void Step();
  // Steps until page pageCount (1-based) is complete or the text ends.
  void LayOutPages(size_t pageCount);
  // Steps until everything is laid out.
  void Finish();

  bool Finished() const { return finished_; }
  // Lines looked at so far (also those outside a line range).
  size_t LinesDone() const { return nextLine_; }
  size_t LineCount() const { return lines_.size(); }
  // Pages whose footer has been drawn: they will not change any more.
  size_t CompletePages() const { return finished_ ? pages_.Count() : pages_.Count() - 1; }

 private:
  void NextPage();

  TStringsPrinter& printer_;
  TPrintLines lines_;
  TMetaFileList& pages_;
  TPrintGeometry geometry_;
  TPagePicture* page_ = nullptr;
  size_t nextLine_ = 0;
  int column_ = 1;
  int64_t y_ = 0;
  bool finished_ = false;
};

}  // namespace kerv
