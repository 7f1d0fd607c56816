#pragma once
// The one QApplication of the window tests (offscreen), whichever test
// needs it first.

#include <QApplication>

#include "tests/QtTestApplication.h"

namespace kerv::testing {

inline QApplication& TestApp() { return TestApplication<QApplication>(); }

}  // namespace kerv::testing
