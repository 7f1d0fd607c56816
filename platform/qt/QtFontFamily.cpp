#include "platform/qt/QtFontFamily.h"

#include <QFontDatabase>
#include <QStringList>

namespace kerv {
namespace {

// Tried in order when the stored family is not installed.
const char* const kFallbackFamilies[] = {"Noto Sans Mono CJK JP", "VL Gothic", "Noto Sans CJK JP", "IPAGothic",
                                         "TakaoGothic", "DejaVu Sans Mono"};

bool FamilyInstalled(const QString& family) {
  static const QStringList families = QFontDatabase::families();
  return !family.isEmpty() && families.contains(family, Qt::CaseInsensitive);
}

}  // namespace

QString InstalledFamily(const QString& family) {
  if (FamilyInstalled(family)) return family;
  for (const char* candidate : kFallbackFamilies) {
    if (FamilyInstalled(QString::fromLatin1(candidate))) return QString::fromLatin1(candidate);
  }
  return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

}  // namespace kerv
