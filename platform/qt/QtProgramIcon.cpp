#include "platform/qt/QtProgramIcon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace kerv {
namespace {

// The icon names of the desktop's application entries, by the program they
// start: its absolute path when Exec gives one, else its file name. Read
// once; the entries of the user's own folder come first and win.
const QHash<QString, QString>& EntryIcons() {
  static const QHash<QString, QString> icons = [] {
    QHash<QString, QString> found;
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
      const QFileInfoList entries = QDir(folder).entryInfoList({QStringLiteral("*.desktop")}, QDir::Files);
      for (const QFileInfo& entry : entries) {
        QFile file(entry.filePath());
        // An entry is a few lines; anything huge is no entry.
        if (entry.size() > 256 * 1024 || !file.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
        QString exec, icon;
        bool inEntry = false;
        QTextStream in(&file);
        while (!in.atEnd()) {
          const QString line = in.readLine().trimmed();
          if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
          } else if (inEntry && line.startsWith(QLatin1String("Exec=")) && exec.isEmpty()) {
            exec = line.mid(5);
          } else if (inEntry && line.startsWith(QLatin1String("Icon=")) && icon.isEmpty()) {
            icon = line.mid(5);
          }
        }
        const QStringList words = QProcess::splitCommand(exec);
        if (words.isEmpty() || icon.isEmpty()) continue;
        const QString program = words.first();
        const QString key = program.startsWith(QLatin1Char('/')) ? program : QFileInfo(program).fileName();
        if (!found.contains(key)) found.insert(key, icon);
      }
    }
    return found;
  }();
  return icons;
}

QIcon IconNamed(const QString& name) {
  if (name.isEmpty()) return {};
  if (name.startsWith(QLatin1Char('/'))) return QFileInfo::exists(name) ? QIcon(name) : QIcon();
  return QIcon::hasThemeIcon(name) ? QIcon::fromTheme(name) : QIcon();
}

}  // namespace

QIcon ProgramIcon(const std::string& nativePath) {
  const QString path = QFile::decodeName(QByteArray::fromStdString(nativePath));
  if (path.isEmpty() || !QFileInfo(path).isFile()) return {};
  const QString name = QFileInfo(path).fileName();
  const QHash<QString, QString>& entries = EntryIcons();
  for (const QString& key : {QFileInfo(path).absoluteFilePath(), QFileInfo(path).canonicalFilePath(), name}) {
    const auto found = entries.constFind(key);
    if (found == entries.constEnd()) continue;
    QIcon icon = IconNamed(found.value());
    if (!icon.isNull()) return icon;
  }
  return IconNamed(name);
}

}  // namespace kerv
