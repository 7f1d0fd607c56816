#pragma once
// The converter's drawing, with Qt: the text measured and drawn in a font,
// the background picture read and laid once or tiled, the margin bands
// filled. The layout arithmetic is the core's (TVuvELayout); this half only
// paints. The same Paint serves the image written, the image window's image
// and the dialog's preview, so all three agree pixel for pixel.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <functional>
#include <string>

#include "image/TRasterImage.h"
#include "image/TVuvELayout.h"
#include "image/TVuvESettings.h"

class QPainter;

namespace kerv {

class IFileSystem;

// The colour a stored value stands for; a system colour (high byte 0xFF) is
// taken from the application's palette.
QColor VuvEQColor(TColor color);
// The same as a plain 0x00BBGGRR value (what settings files hold).
TColor VuvEPlainColor(TColor color);

// The text's font: family (already in Unicode; empty for the application's
// font), the style of font, and its pixel height from its points at
// dotsPerInch.
QFont VuvEQFont(const QString& family, const TVuvEFont& font, int dotsPerInch);
// The screen's resolution, which turns points into pixels (96 without a screen).
int ScreenDotsPerInch();

// Reads a background picture: BMP, JPEG or PNG, told by the extension of
// path (in any case). Throws EImageError (BackgroundOpenFailed, with the
// cause on a second line) for a file that cannot be read, another
// extension, a damaged picture or one too large to hold.
QImage ReadBackgroundPicture(IFileSystem& fs, const std::string& path);

// The text split at its own line breaks (CR LF, LF or CR).
QStringList VuvETextLines(const QString& text);

class TVuvERenderer {
 public:
  TVuvERenderer(const TVuvESettings& settings, const QFont& font);

  const QFont& Font() const { return font_; }
  // The text as one block: the widest line's width, the height of all its
  // lines; tabs expanded. An empty text measures 0 × 0.
  TImageSize MeasureText(const QString& text) const;
  // The width of one line with its tabs expanded.
  int LineWidth(const QString& line) const;

  // Called now and then while a picture is tiled (about ten times a
  // second), so that windows repaint during a long fill.
  std::function<void()> LetEventsThrough;
  // The clock that paces LetEventsThrough (tests; empty: the system's).
  void SetEventClock(TEventThrottle::Clock clock) { eventClock_ = std::move(clock); }

  // Draws the image of this size onto painter, whose origin is the image's
  // top-left corner: the background colour, the picture (null: none), the
  // margin bands, then the text in the box, clipped to it. singleLine
  // decides the vertical centring.
  void Paint(QPainter& painter, TImageSize size, const QString& text, bool singleLine, const QImage* picture);
  // A new 24-bit image of this size drawn by Paint. Throws EImageError for
  // a size that cannot be made (CheckImageSize).
  TRasterImage Render(TImageSize size, const QString& text, bool singleLine, const QImage* picture);
  // Draws into an image already of the right size (a run of images reuses
  // one store when the sizes agree).
  void RenderInto(TRasterImage& image, const QString& text, bool singleLine, const QImage* picture);

 private:
  void PaintPicture(QPainter& painter, TImageSize size, const QImage& picture);
  void PaintText(QPainter& painter, const TPixelRect& box, const QString& text, bool singleLine);
  // Draws one line from (x, baseline), its tabs moved to the next stop.
  void DrawLine(QPainter& painter, int x, int baseline, const QString& line);

  TVuvESettings settings_;
  QFont font_;
  TEventThrottle::Clock eventClock_;
  int lineHeight_ = 0;
  int ascent_ = 0;
  int tabWidth_ = 0;
};

}  // namespace kerv
