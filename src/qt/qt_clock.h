#pragma once

#include <QElapsedTimer>

#include "base/clock.h"

namespace vespar::qt {

class QtClock : public Clock {
  public:
    QtClock() { elapsed_.start(); }
    // The C library's local time: Qt's local date and time work the zone's offset out afresh
    // on every call, at many times the cost, and the engine asks every second.
    LocalTime now() const override;
    std::int64_t tickMs() const override { return elapsed_.elapsed(); }

  private:
    QElapsedTimer elapsed_;
};

}  // namespace vespar::qt
