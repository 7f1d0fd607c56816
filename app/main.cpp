// kerv: the editor. One process per window.

#include <QApplication>

#include "app/window/TFrmKervMain.h"
#include "app/TKervSystem.h"
#include "platform/posix/IconvCodePage.h"
#include "platform/posix/LocalSocketChannel.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtLauncher.h"

int main(int argc, char** argv) {
  kerv::Closing = false;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("KervEditor"));

  kerv::PosixFileSystem fs;
  kerv::IconvCodePage codePage;
  kerv::QtDialogs dialogs;
  kerv::QtLauncher launcher;
  kerv::LocalSocketChannel channel;
  kerv::TKervPlatform platform{fs, codePage, dialogs, launcher, &channel};
  kerv::TKervSystem system(platform);
  if (!system.CheckStartup()) return 1;

  std::vector<std::string> arguments(argv + 1, argv + argc);
  kerv::TFrmKervMain window(system, arguments);
  // A refused or failed start file ends the process before the message loop.
  if (!window.StartedOk()) return 1;
  window.Place();
  return QApplication::exec();
}
