#pragma once
// Qt's own texts (message-box buttons, the file, font, colour and print
// dialogs, the line edits' menus) in the user's language; the program's own
// texts stay Japanese as written.

#include <QLocale>
#include <QString>

class QCoreApplication;

namespace kerv {

// Loads Qt's translations for locale (from folder, by default Qt's own
// translations folder) into app. False, and nothing installed, when there
// is none for that language: Qt's texts then stay as they are.
bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale, const QString& folder = QString());

}  // namespace kerv
