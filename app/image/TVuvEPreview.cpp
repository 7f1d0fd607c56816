#include "app/image/TVuvEPreview.h"

#include <QPaintEvent>
#include <QPainter>

#include "image/qt/TVuvERenderer.h"

namespace kerv {

TVuvEPreview::TVuvEPreview(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Pbx_Preview"));
  resize(2 * kOffset, 2 * kOffset);
}

TVuvEPreview::~TVuvEPreview() = default;

void TVuvEPreview::SetContent(const TVuvESettings& settings, const QFont& font, TImageSize size, const QString& text,
                              bool singleLine) {
  renderer_ = std::make_unique<TVuvERenderer>(settings, font);
  size_ = TImageSize{std::max(0, size.width), std::max(0, size.height)};
  text_ = text;
  singleLine_ = singleLine;
  resize(std::min(size_.width, kMaxImageSide) + 2 * kOffset, std::min(size_.height, kMaxImageSide) + 2 * kOffset);
  update();
}

QImage TVuvEPreview::Grab() { return grab().toImage(); }

void TVuvEPreview::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // Grey wherever the image is not.
  painter.fillRect(event->rect(), Qt::gray);
  if (!renderer_ || size_.width <= 0 || size_.height <= 0) return;
  const QRect image(kOffset, kOffset, size_.width, size_.height);
  painter.setClipRect(image & event->rect());
  painter.translate(kOffset, kOffset);
  renderer_->Paint(painter, size_, text_, singleLine_, nullptr);
}

}  // namespace kerv
