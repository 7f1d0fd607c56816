#pragma once
// The one Qt application of a test executable: made on first use and never
// destroyed, since an application torn down at exit, after the objects Qt
// keeps for the process (fonts, the input method, QTest's input devices),
// crashes the process. Whichever test comes first makes it; the others use it.

#include <QCoreApplication>

namespace kerv {

// App: QCoreApplication, QGuiApplication or QApplication.
template <typename App>
App& TestApplication() {
  static int argc = 1;
  static char name[] = "kerv_tests";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) new App(argc, argv);
  return *static_cast<App*>(QCoreApplication::instance());
}

}  // namespace kerv
