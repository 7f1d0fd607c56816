// kervtext-render: the drawing commands of kervtext. Qt draws offscreen, so
// no display is needed.

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "kervtext/render/RenderCommands.h"

namespace {

// The commands promise one line of their own on an error: Qt's notes about
// the environment (no runtime folder, no session) would break that.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "kervtext: %s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char** argv) {
  // Without a display the offscreen platform draws as well.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(QuietQtMessages);
  if (argc < 2) {
    std::fputs("Usage: kervtext-render print|image ARGS... (run through kervtext)\n", stderr);
    return 2;
  }
  QGuiApplication app(argc, argv);
  const std::string command = argv[1];
  kerv::render::Args args(argv + 2, argv + argc);
  if (command == "print") return kerv::render::RunPrint(args);
  if (command == "image") return kerv::render::RunImage(args);
  std::fprintf(stderr, "kervtext: unknown command '%s'\n", command.c_str());
  return 2;
}
