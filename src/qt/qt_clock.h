#pragma once

#include <QDateTime>
#include <QElapsedTimer>

#include "base/clock.h"

namespace vespar::qt {

class QtClock : public Clock {
  public:
    QtClock() { elapsed_.start(); }
    LocalTime now() const override {
        const QDateTime t = QDateTime::currentDateTime();
        return {t.date().year(), t.date().month(),  t.date().day(),
                t.time().hour(), t.time().minute(), t.time().second()};
    }
    std::int64_t tickMs() const override { return elapsed_.elapsed(); }

  private:
    QElapsedTimer elapsed_;
};

}  // namespace vespar::qt
