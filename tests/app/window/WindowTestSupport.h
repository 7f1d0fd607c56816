#pragma once
// The one QApplication of the window tests (offscreen), whichever test
// needs it first.

#include <QApplication>

namespace kerv::testing {

inline QApplication& TestApp() {
  static int argc = 1;
  static char name[] = "kerv_app_window_tests";
  static char* argv[] = {name, nullptr};
  // Never destroyed: widgets Qt keeps for the process (fonts, input method)
  // must not outlive their application at exit.
  static QApplication* app =
      QApplication::instance() ? static_cast<QApplication*>(QApplication::instance()) : new QApplication(argc, argv);
  return *app;
}

}  // namespace kerv::testing
