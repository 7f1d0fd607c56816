#include "image/qt/TVuvERenderer.h"

#include <QBrush>
#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <algorithm>

#include "image/EImageError.h"
#include "platform/FileSystem.h"

namespace kerv {
namespace {

constexpr bool IsSystemColor(TColor color) { return (color & 0xFF000000u) == 0xFF000000u; }

// Tab stops every eight average characters, as text drawing on the desktop
// has always expanded them.
constexpr int kTabColumns = 8;

// A font name of another system (or none) becomes one that has Japanese
// glyphs, as the editor's panes choose it, so the image shows what the
// pane shows.
const char* const kFallbackFamilies[] = {"Noto Sans Mono CJK JP", "VL Gothic",       "Noto Sans CJK JP", "IPAGothic",
                                         "TakaoGothic",           "DejaVu Sans Mono"};

bool FamilyInstalled(const QString& family) {
  if (family.isEmpty()) return false;
  static const QStringList families = QFontDatabase::families();
  return families.contains(family, Qt::CaseInsensitive);
}

// The reader's format for a picture's extension; empty for any other.
QByteArray PictureFormat(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  QByteArray extension = QByteArray::fromStdString(path.substr(dot + 1)).toLower();
  if (extension == "bmp") return "bmp";
  if (extension == "jpg" || extension == "jpeg") return "jpeg";
  if (extension == "png") return "png";
  return {};
}

EImageError PictureError(const std::string& cause) {
  return EImageError::WithCause(TImageMessage::BackgroundOpenFailed, cause);
}

}  // namespace

QColor VuvEQColor(TColor color) {
  if (IsSystemColor(color)) {
    const QPalette palette = QGuiApplication::palette();
    switch (color & 0xFF) {
      case 5:
        return palette.color(QPalette::Base);  // window
      case 8:
        return palette.color(QPalette::Text);  // window text
      case 15:
        return palette.color(QPalette::Button);  // button face
      case 13:
        return palette.color(QPalette::Highlight);
      case 14:
        return palette.color(QPalette::HighlightedText);
      default:
        return palette.color(QPalette::Text);
    }
  }
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

TColor VuvEPlainColor(TColor color) {
  if (!IsSystemColor(color)) return color;
  const QColor resolved = VuvEQColor(color);
  return TRgb{static_cast<uint8_t>(resolved.red()), static_cast<uint8_t>(resolved.green()),
              static_cast<uint8_t>(resolved.blue())}
      .ToColor();
}

QFont VuvEQFont(const QString& family, const TVuvEFont& font, int dotsPerInch) {
  QString resolved = family;
  if (!FamilyInstalled(resolved)) {
    resolved.clear();
    for (const char* candidate : kFallbackFamilies) {
      if (FamilyInstalled(QString::fromLatin1(candidate))) {
        resolved = QString::fromLatin1(candidate);
        break;
      }
    }
  }
  QFont result = resolved.isEmpty() ? QGuiApplication::font() : QFont(resolved);
  result.setPixelSize(std::max(1, FontPixelHeight(font.Size, dotsPerInch)));
  result.setBold(font.Bold);
  result.setItalic(font.Italic);
  result.setUnderline(font.UnderLine);
  result.setStrikeOut(font.StrikeOut);
  return result;
}

int ScreenDotsPerInch() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int dpi = screen != nullptr ? static_cast<int>(screen->logicalDotsPerInchY() + 0.5) : 0;
  return dpi > 0 ? dpi : 96;
}

QImage ReadBackgroundPicture(IFileSystem& fs, const std::string& path) {
  const QByteArray format = PictureFormat(path);
  if (format.isEmpty()) throw PictureError(path);
  QByteArray bytes;
  try {
    bytes = QByteArray::fromStdString(fs.ReadFile(path));
  } catch (const EFileError& error) {
    throw PictureError(error.what());
  }
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  // The size is known before the pixels are decoded: a picture we cannot
  // hold is refused before anything is allocated for it.
  const QSize size = reader.size();
  if (size.isValid()) {
    try {
      CheckImageSize(size.width(), size.height(), TPixelFormat::Rgb24);
    } catch (const EImageError& error) {
      throw PictureError(error.what());
    }
  }
  QImage picture = reader.read();
  if (picture.isNull()) throw PictureError(path + ": " + reader.errorString().toStdString());
  // One format to draw from, whatever the file held; alpha is kept and laid
  // over the background colour.
  return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                           : QImage::Format_RGB32);
}

QStringList VuvETextLines(const QString& text) {
  QStringList lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
    lines << text.mid(start, i - start);
    if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
    start = i + 1;
  }
  lines << text.mid(start);
  return lines;
}

TVuvERenderer::TVuvERenderer(const TVuvESettings& settings, const QFont& font) : settings_(settings), font_(font) {
  const QFontMetrics metrics(font_);
  lineHeight_ = metrics.height();
  ascent_ = metrics.ascent();
  tabWidth_ = std::max(1, metrics.averageCharWidth() * kTabColumns);
}

int TVuvERenderer::LineWidth(const QString& line) const {
  const QFontMetrics metrics(font_);
  int x = 0;
  qsizetype start = 0;
  for (;;) {
    const qsizetype tab = line.indexOf(QLatin1Char('\t'), start);
    x += metrics.horizontalAdvance(line.mid(start, tab < 0 ? -1 : tab - start));
    if (tab < 0) return x;
    x = (x / tabWidth_ + 1) * tabWidth_;
    start = tab + 1;
  }
}

TImageSize TVuvERenderer::MeasureText(const QString& text) const {
  if (text.isEmpty()) return {};
  const QStringList lines = VuvETextLines(text);
  int width = 0;
  for (const QString& line : lines) width = std::max(width, LineWidth(line));
  const int64_t height = int64_t{lineHeight_} * lines.size();
  return TImageSize{width, static_cast<int>(std::min<int64_t>(height, INT32_MAX))};
}

void TVuvERenderer::Paint(QPainter& painter, TImageSize size, const QString& text, bool singleLine,
                          const QImage* picture) {
  painter.save();
  painter.fillRect(QRect(0, 0, size.width, size.height), VuvEQColor(settings_.BackColor));
  if (picture != nullptr && !picture->isNull()) PaintPicture(painter, size, *picture);
  const QColor fill = VuvEQColor(settings_.FillColor);
  for (const TPixelRect& band : MarginFillBands(size, settings_)) {
    painter.fillRect(QRect(band.left, band.top, band.Width(), band.Height()), fill);
  }
  const TPixelRect box = TextBox(size, settings_);
  if (!box.IsEmpty() && !text.isEmpty()) PaintText(painter, box, text, singleLine);
  painter.restore();
}

void TVuvERenderer::PaintPicture(QPainter& painter, TImageSize size, const QImage& picture) {
  const TImageSize pictureSize{picture.width(), picture.height()};
  const TTileGrid grid(size, pictureSize, settings_.TileBackImage);
  if (grid.Count() == 1) {
    painter.drawImage(QPoint(0, 0), picture);
    return;
  }
  // A column at a time: one textured fill lays every copy of the column
  // (a small picture on a large image has millions of them), and the
  // column order is the tiling order.
  const QBrush tiles(picture);
  painter.setBrushOrigin(0, 0);
  TEventThrottle throttle(std::chrono::milliseconds(100), eventClock_);
  for (int column = 0; column < grid.Columns(); ++column) {
    const TPixelPoint top = grid.At(int64_t{column} * grid.Rows());
    const int width = std::min(pictureSize.width, size.width - top.x);
    painter.fillRect(QRect(top.x, 0, width, grid.Rows() * pictureSize.height), tiles);
    if (LetEventsThrough && throttle.Due()) LetEventsThrough();
  }
}

void TVuvERenderer::PaintText(QPainter& painter, const TPixelRect& box, const QString& text, bool singleLine) {
  const QStringList lines = VuvETextLines(text);
  const int64_t textHeight = int64_t{lineHeight_} * lines.size();
  const int top = TextTop(box, static_cast<int>(std::min<int64_t>(textHeight, INT32_MAX)), singleLine, settings_);
  painter.setClipRect(QRect(box.left, box.top, box.Width(), box.Height()), Qt::IntersectClip);
  painter.setFont(font_);
  painter.setPen(VuvEQColor(settings_.Font.Color));
  painter.setBackgroundMode(Qt::TransparentMode);
  int64_t y = top;
  for (const QString& line : lines) {
    // Lines wholly below the box are never seen; above it, they are skipped.
    if (y >= box.bottom) break;
    if (y + lineHeight_ > box.top && !line.isEmpty()) {
      const int left = LineLeft(box, LineWidth(line), settings_.TextAlign);
      DrawLine(painter, left, static_cast<int>(y) + ascent_, line);
    }
    y += lineHeight_;
  }
}

void TVuvERenderer::DrawLine(QPainter& painter, int x, int baseline, const QString& line) {
  if (!line.contains(QLatin1Char('\t'))) {
    painter.drawText(QPoint(x, baseline), line);
    return;
  }
  const QFontMetrics metrics(font_);
  const int left = x;
  qsizetype start = 0;
  for (;;) {
    const qsizetype tab = line.indexOf(QLatin1Char('\t'), start);
    const QString piece = line.mid(start, tab < 0 ? -1 : tab - start);
    painter.drawText(QPoint(x, baseline), piece);
    if (tab < 0) return;
    x += metrics.horizontalAdvance(piece);
    x = left + ((x - left) / tabWidth_ + 1) * tabWidth_;
    start = tab + 1;
  }
}

TRasterImage TVuvERenderer::Render(TImageSize size, const QString& text, bool singleLine, const QImage* picture) {
  TRasterImage image(size.width, size.height, TPixelFormat::Rgb24);
  RenderInto(image, text, singleLine, picture);
  return image;
}

void TVuvERenderer::RenderInto(TRasterImage& image, const QString& text, bool singleLine, const QImage* picture) {
  // The core's 24-bit rows are Qt's RGB888 rows: Qt paints straight into them.
  QImage view(image.Bits(), image.Width(), image.Height(), static_cast<qsizetype>(image.Stride()),
              QImage::Format_RGB888);
  QPainter painter(&view);
  Paint(painter, TImageSize{image.Width(), image.Height()}, text, singleLine, picture);
}

}  // namespace kerv
