#include "platform/qt/print/QtPageReplay.h"

#include <QPainter>

#include "platform/qt/QtText.h"

namespace kerv {

void QtPageReplay::Draw(QPainter& painter, const TPagePicture& page, const QRectF& target) {
  if (page.WidthDots() <= 0 || page.HeightDots() <= 0) return;
  measurer_.SelectFont(page.Font());
  painter.save();
  painter.translate(target.topLeft());
  painter.scale(target.width() / static_cast<double>(page.WidthDots()),
                target.height() / static_cast<double>(page.HeightDots()));
  painter.setFont(measurer_.Font());
  painter.setPen(Qt::black);
  const double ascent = measurer_.Ascent();
  for (const TPrintTextOp& op : page.Ops()) {
    const std::string_view sjis = page.Text(op);
    if (sjis.empty()) continue;
    const QRectF rect(static_cast<double>(op.rect.left), static_cast<double>(op.rect.top),
                      static_cast<double>(op.rect.Width()), static_cast<double>(op.rect.Height()));
    const double width = measurer_.Advance(sjis);
    double x = rect.left();
    if (op.align == TPrintTextAlign::Right) x = rect.right() - width;
    if (op.align == TPrintTextAlign::Center) x = rect.left() + (rect.width() - width) / 2;
    // Only a text wider than its box needs the clip; a clip per row would
    // bloat a PDF for nothing.
    const bool clip = op.clip && width > rect.width() + 0.5;
    if (clip) {
      painter.save();
      painter.setClipRect(rect, Qt::IntersectClip);
    }
    painter.drawText(QPointF(x, rect.top() + ascent), SjisToQString(codePage_, sjis));
    if (clip) painter.restore();
  }
  painter.restore();
}

}  // namespace kerv
