#pragma once
// The converter's preview: the image at 1:1 at (4, 4) on grey, drawn by the
// same painter as the image itself but without the background picture.
// Only the part on screen is drawn, so any size costs nothing to show.

#include <QFont>
#include <QString>
#include <QWidget>
#include <memory>

#include "image/TVuvELayout.h"
#include "image/TVuvESettings.h"

namespace kerv {

class TVuvERenderer;

class TVuvEPreview : public QWidget {
 public:
  static constexpr int kOffset = 4;
  explicit TVuvEPreview(QWidget* parent = nullptr);
  ~TVuvEPreview() override;

  void SetContent(const TVuvESettings& settings, const QFont& font, TImageSize size, const QString& text,
                  bool singleLine);
  TImageSize ImageSize() const { return size_; }
  const QString& Text() const { return text_; }
  bool SingleLine() const { return singleLine_; }
  // The preview as shown (tests).
  QImage Grab();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::unique_ptr<TVuvERenderer> renderer_;
  TImageSize size_;
  QString text_;
  bool singleLine_ = true;
};

}  // namespace kerv
