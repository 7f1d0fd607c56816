// kerv: the editor. One process per window.

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <string_view>

#include "app/window/TFrmKervMain.h"
#include "app/window/TKervTranslations.h"
#include "app/TKervParameter.h"
#include "app/TKervSystem.h"
#include "platform/posix/IconvCodePage.h"
#include "platform/posix/LocalSocketChannel.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtLauncher.h"

namespace {

// Answered before any window exists, so they work without a display.
const char kUsage[] =
    "Usage: kerv [OPTION...] [FILE...]\n"
    "A text editor for Japanese text. Each FILE after the first opens in a window of its own.\n"
    "\n"
    "Options (written with / or -):\n"
    "  /b              open read-only\n"
    "  /cs /cj /ce /cu /cb /c8 /cn\n"
    "                  open as Shift_JIS, JIS, EUC-JP, UTF-16LE, UTF-16BE, UTF-8 with a mark or UTF-8\n"
    "                  (without one of these the code is detected)\n"
    "  /eMODE          use the edit mode MODE (for example /eHTML)\n"
    "  /je             put the caret at the end of the text\n"
    "  /jLINE          put the caret on line LINE\n"
    "  /n              start minimized\n"
    "  /x              start at normal size\n"
    "  -h, --help      show this help and exit\n"
    "      --version   show the version and exit\n"
    "\n"
    "Settings live in $XDG_CONFIG_HOME/kerv/ (normally ~/.config/kerv/) when installed, beside\n"
    "the program otherwise. Exit status: 0 normally, 1 when the start file could not be opened\n"
    "or no settings folder could be had.\n";

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (argument == "--version") {
      std::printf("kerv (KervEditor) %s\n", kerv::TKervSystem::VersionString().c_str());
      return 0;
    }
  }
  kerv::Closing = false;
  kerv::PosixFileSystem fs;
  // The start file is read while Qt and the window are set up, unless it is
  // so big that it is read with its progress once the window shows.
  for (int i = 1; i < argc; ++i) {
    if (!kerv::TKervParameter::IsOption(fs, argv[i])) {
      if (!kerv::TKervParameter::ShowWindowFirst(fs, argv[i])) fs.ReadAhead(argv[i]);
      break;
    }
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("KervEditor"));
  kerv::InstallQtTranslations(app, QLocale::system());

  kerv::IconvCodePage codePage;
  kerv::QtDialogs dialogs;
  kerv::QtLauncher launcher;
  kerv::LocalSocketChannel channel;
  kerv::TKervPlatform platform{fs, codePage, dialogs, launcher, &channel};
  kerv::TKervSystem system(platform);
  if (!system.CheckStartup()) return 1;

  std::vector<std::string> arguments(argv + 1, argv + argc);
  kerv::TFrmKervMain window(system, arguments);
  fs.DropReadAhead();  // the start file has been read by now, or refused
  // A refused or failed start file ends the process before the message loop.
  if (!window.StartedOk()) return 1;
  window.Place();
  if (window.StartFileWaits()) QTimer::singleShot(0, &window, [&window] { window.OpenWaitingStartFile(); });
  return QApplication::exec();
}
