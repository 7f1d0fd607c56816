#include "app/window/TKervTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kerv {

bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale, const QString& folder) {
  const QString from = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
  auto* translator = new QTranslator(&app);
  // "qtbase" covers the widgets' texts (the translations package splits Qt by module).
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), from)) {
    delete translator;
    return false;
  }
  app.installTranslator(translator);
  return true;
}

}  // namespace kerv
