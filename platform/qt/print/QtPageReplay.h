#pragma once
// Draws recorded pages with a QPainter: on the printer, into a PDF, or onto
// the preview's image at any zoom.

#include <QRectF>

#include "platform/CodePage.h"
#include "platform/qt/print/QtPrintMeasurer.h"
#include "print/TPagePicture.h"

class QPainter;

namespace kerv {

class QtPageReplay {
 public:
  explicit QtPageReplay(ICodePage& codePage) : codePage_(codePage), measurer_(codePage, nullptr) {}

  // Stretches the page (its size in printer dots) over target, in the
  // painter's coordinates. Each text is one line from the top of its
  // rectangle, aligned in it, "&" drawn as itself, and clipped to the
  // rectangle when it is wider and the op asks for clipping.
  void Draw(QPainter& painter, const TPagePicture& page, const QRectF& target);

 private:
  ICodePage& codePage_;
  // Keeps the widths measured for alignment from page to page.
  QtPrintMeasurer measurer_;
};

}  // namespace kerv
