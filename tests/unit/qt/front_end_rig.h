#pragma once

// The whole program with its Qt front-end on fake system services, for the widget tests.

#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "app/program.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_network.h"
#include "fakes/fake_system_ports.h"
#include "fakes/scripted_dialogs.h"
#include "fakes/temp_program_folder.h"
#include "qt/front_end.h"

namespace vespar::qt {

struct NoGuard : InstanceGuard {
    bool AlreadyRunning(const std::string&) override { return heldElsewhere; }
    bool heldElsewhere = false;
};
struct NoProcess : ProcessControl {
    void RaisePriority() override {}
};

// The whole program with its front-end; time moves only when the test advances it.
struct Rig {
    explicit Rig(bool entitled = true) {
        clock.Set({2026, 12, 7, 9, 0, 0});
        if (!entitled) {
            folder.SetKey("UserExitA", "1");
            sys.groups.answer = false;
        }
        sys.interfaces.rows = {{"eth0", {0, 0x0c, 0x29, 0xab}, 1000, 1000},
                               {"wlan0", {0, 0x0c, 0x29, 0xac}, 1000, 1000}};
        // An idle processor: every second (in 100 ns units) passes in the idle process.
        program.timers()
            .Create("test.load", 1000,
                    [this] { sys.systemTimes.Advance(10'000'000, 10'000'000, 0); })
            .SetEnabled(true);
        frontEnd = std::make_unique<FrontEnd>(program, clock);
    }

    void Advance(std::int64_t ms) {
        for (std::int64_t t = 0; t < ms && !frontEnd->ended(); t += 50) {
            clock.AdvanceMs(50);
            frontEnd->Pump();
            QCoreApplication::processEvents();
        }
    }
    ScreenWindow& main() { return *frontEnd->mainWindow(); }
    ScreenWindow& about() { return *frontEnd->aboutWindow(); }
    QPushButton* Button(ScreenWindow& w, const char* name) {
        return w.findChild<QPushButton*>(name);
    }
    QAction* Item(const char* name) { return frontEnd->tray()->menu().findChild<QAction*>(name); }
    void Screenshot(QWidget& w, const char* file) {
        const QByteArray dir = qgetenv("VESPAR_SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        QCoreApplication::processEvents();
        QVERIFY(w.grab().save(QString::fromLocal8Bit(dir) + "/" + file));
    }

    test::TempProgramFolder folder;
    test::FakeClock clock;
    test::ScriptedDialogs dialogs;
    NoGuard guard;
    NoProcess process;
    test::FakeSystemPorts sys;
    test::FakeNetwork net;
    test::FakeNetworkPorts netPorts{net, "127.0.0.1"};
    Program program{clock, dialogs, guard, process, sys.ports(), netPorts.ports(), folder.path()};
    std::unique_ptr<FrontEnd> frontEnd;
};

}  // namespace vespar::qt
