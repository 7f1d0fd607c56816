#include "platform/qt/QtLauncher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace kerv {

bool QtLauncher::LaunchSelf(const std::vector<std::string>& arguments) {
  QStringList list;
  for (const std::string& argument : arguments) list << QString::fromStdString(argument);
  return QProcess::startDetached(QCoreApplication::applicationFilePath(), list);
}

bool QtLauncher::ShellOpen(const std::string& target, const std::string& parameters) {
  QString path = QString::fromStdString(target);
  QFileInfo info(path);
  // A program given with parameters is run with them; everything else goes
  // to whatever the desktop associates with it.
  if (!parameters.empty() || (info.isFile() && info.isExecutable())) {
    return QProcess::startDetached(path, QProcess::splitCommand(QString::fromStdString(parameters)));
  }
  QUrl url = info.exists() || path.startsWith('/') ? QUrl::fromLocalFile(path) : QUrl(path);
  return QDesktopServices::openUrl(url);
}

bool QtLauncher::StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                              std::string& error) {
  QStringList list;
  for (const std::string& argument : arguments) list << QString::fromStdString(argument);
  // The same start as QProcess::startDetached(program, arguments), through an
  // object so that a failure leaves its reason behind.
  QProcess process;
  process.setProgram(QString::fromStdString(program));
  process.setArguments(list);
  if (process.startDetached()) return true;
  error = process.error() == QProcess::UnknownError ? std::string() : process.errorString().toStdString();
  return false;
}

}  // namespace kerv
