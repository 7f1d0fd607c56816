#pragma once
// The local clock for the header and footer variables.

#include <QDateTime>

#include "document/TKervFilePorts.h"

namespace kerv {

class QtLocalClock : public IKervClock {
 public:
  TKervLocalTime Now() override {
    const QDateTime now = QDateTime::currentDateTime();
    return {now.date().year(),   now.date().month(),  now.date().day(),    now.time().hour(),
            now.time().minute(), now.time().second(), now.time().msec()};
  }
};

}  // namespace kerv
