#include "platform/qt/print/QtPrintFont.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "platform/qt/QtFontFamily.h"
#include "platform/qt/QtText.h"

namespace kerv {
QString PrintFontFamily(ICodePage& codePage, std::string_view sjisName) {
  return InstalledFamily(SjisToQString(codePage, sjisName));
}

QFont PageQFont(const TPageFont& font, ICodePage& codePage) {
  QFont result(PrintFontFamily(codePage, font.font.name));
  result.setPixelSize(static_cast<int>(std::clamp<int64_t>(font.emDots, 1, 1 << 20)));
  result.setBold(font.font.bold);
  result.setItalic(font.font.italic);
  result.setUnderline(font.font.underline);
  result.setHintingPreference(QFont::PreferNoHinting);
  result.setKerning(false);
  return result;
}

QFont PrintFontToQFont(const TPrintFont& font, ICodePage& codePage) {
  QFont result(PrintFontFamily(codePage, font.name));
  result.setPointSize(std::max(1, font.size));
  result.setBold(font.bold);
  result.setItalic(font.italic);
  result.setUnderline(font.underline);
  return result;
}

TPrintFont QFontToPrintFont(const QFont& font, ICodePage& codePage, const TPrintFont& previous) {
  TPrintFont result = previous;
  result.name = QStringToSjis(codePage, font.family());
  // A font chosen in pixels has no point size: take the nearest one.
  result.size = font.pointSize() > 0 ? font.pointSize() : std::max(1, qRound(font.pointSizeF()));
  result.bold = font.bold();
  result.italic = font.italic();
  result.underline = font.underline();
  return result;
}

int ScreenDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return 96;
  const int dpi = qRound(screen->logicalDotsPerInchX());
  return dpi > 0 ? dpi : 96;
}

}  // namespace kerv
