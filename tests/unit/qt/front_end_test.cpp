// The Qt front-end on the real core with fake system services: real widgets are clicked and
// typed into and must show what the core's rules made of it. Set VESPAR_SCREENSHOT_DIR to also save
// pictures of the windows there.

#include "qt/front_end.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QWindow>
#include <QtTest>
#include <memory>

#include "app/program.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_network.h"
#include "fakes/fake_process.h"
#include "fakes/fake_system_ports.h"
#include "fakes/scripted_dialogs.h"
#include "fakes/temp_program_folder.h"
#include "qt/qt_clock.h"
#include "qt/tray_icons.h"
#include "unit/qt/screen_check.h"

namespace vespar::qt {
namespace {

// The whole program with its front-end; time moves only when the test advances it.
struct Rig {
    Rig() {
        clock.Set({2026, 12, 7, 9, 0, 0});
        sys.interfaces.rows = {{"eth0", {0, 0x0c, 0x29, 0xab}, 1000, 1000},
                               {"wlan0", {0, 0x0c, 0x29, 0xac}, 1000, 1000}};
        // An idle processor: every second (in 100 ns units) passes in the idle process.
        program.timers()
            .Create("test.load", 1000,
                    [this] { sys.systemTimes.Advance(10'000'000, 10'000'000, 0); })
            .SetEnabled(true);
        frontEnd = std::make_unique<FrontEnd>(program, clock);
    }

    // Lets time pass, or clicks a button; every screen must still show what its model says.
    void Advance(std::int64_t ms) {
        for (std::int64_t t = 0; t < ms && !frontEnd->ended(); t += 50) {
            clock.AdvanceMs(50);
            frontEnd->Pump();
            QCoreApplication::processEvents();
        }
        QCOMPARE(Faults(), QString());
    }
    ScreenWindow& main() { return *frontEnd->mainWindow(); }
    void Click(ScreenWindow& w, const char* button) {
        QTest::mouseClick(w.findChild<QPushButton*>(button), Qt::LeftButton);
        QCOMPARE(Faults(), QString());
    }
    QString Faults() { return ScreenFaults(frontEnd.get()); }
    void Screenshot(QWidget& w, const char* file) {
        const QByteArray dir = qgetenv("VESPAR_SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        QCoreApplication::processEvents();
        QVERIFY(w.grab().save(QString::fromLocal8Bit(dir) + "/" + file));
    }

    test::TempProgramFolder folder;
    test::FakeClock clock;
    test::ScriptedDialogs dialogs;
    test::FakeGuard guard;
    test::FakeProcess process;
    test::FakeSystemPorts sys;
    test::FakeNetwork net;
    test::FakeNetworkPorts netPorts{net, "127.0.0.1"};
    Program program{clock, dialogs, guard, process, sys.ports(), netPorts.ports(), folder.path()};
    std::unique_ptr<FrontEnd> frontEnd;
};

QImage Picture(const QIcon& icon) { return icon.pixmap(32).toImage(); }

}  // namespace

class FrontEndTest : public QObject {
    Q_OBJECT

  private slots:
    void oneRunThroughEveryScreen();
    void closeButtonIsRefusedWithoutTheRightToExit();
    void secondInstanceShowsOnlyTheNotice();
    void clockTellsTheLocalDateAndTime();
};

void FrontEndTest::oneRunThroughEveryScreen() {
    Rig rig;
    QVERIFY(rig.frontEnd->Start("-InhibitShutdown"));
    ScreenWindow& main = rig.main();
    TrayView& tray = *rig.frontEnd->tray();
    rig.Advance(4500);
    int screens = 0;
    QCOMPARE(ScreenFaults(rig.frontEnd.get(), &screens), QString());
    QVERIFY(screens >= 2);  // the main window and the About screen at least
    QVERIFY(!main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    rig.Screenshot(main, "main-window-run.png");

    // The warning comes up above every other window, in the same native window, raised, not
    // re-created; the reset takes it down again.
    const WId native = main.winId();
    rig.Advance(7500);
    QCOMPARE(rig.program.runtime().monitorState, MonitorState::Shutdown);
    QVERIFY(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(main.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(main.winId(), native);
    QVERIFY(main.isVisible());
    rig.Screenshot(main, "main-window-warning.png");
    QCOMPARE(Picture(tray.icon().icon()), Picture(TrayIconPicture(TrayIcon::Shutdown)));
    QVERIFY(Picture(TrayIconPicture(TrayIcon::Shutdown)) !=
            Picture(TrayIconPicture(TrayIcon::Activate)));
    rig.Click(main, "Reset");
    QVERIFY(!main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(Picture(tray.icon().icon()), Picture(TrayIconPicture(TrayIcon::Activate)));

    rig.Click(main, "About");
    ScreenWindow& about = *rig.frontEnd->aboutWindow();
    QVERIFY(about.isVisible());
    rig.Advance(1000);  // its countdown runs
    rig.Screenshot(about, "about-window.png");
    QTest::mouseClick(about.findChild<QLabel*>("WebSite"), Qt::LeftButton);
    QCOMPARE(rig.sys.urlOpener.opened.size(), std::size_t{1});
    rig.Click(about, "ExitAbout");
    QVERIFY(!about.isVisible());

    // The tray menu minimises the window and a double click brings it back.
    tray.Activated(QSystemTrayIcon::Context);
    QVERIFY(tray.menu().isVisible());
    tray.menu().hide();
    tray.menu().findChild<QAction*>("mPopUpMin")->trigger();
    // Without a tray the window waits in the task bar; with one it hides behind the icon.
    QVERIFY(tray.Available() ? !main.isVisible() && tray.icon().isVisible() : main.isMinimized());
    QCOMPARE(rig.Faults(), QString());
    tray.Activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(main.isVisible() && !main.isMinimized());
    // Minimising by the window's own button is the user's choice, which the core hears of.
    main.setWindowState(Qt::WindowMinimized);
    QVERIFY(rig.program.mainWindow().minimised);
    QCOMPARE(rig.Faults(), QString());
    tray.Activated(QSystemTrayIcon::DoubleClick);

    rig.Click(main, "Config");
    ScreenWindow& config = *rig.frontEnd->configWindow();
    QVERIFY(config.isVisible());
    // The focus starts on the first field; Tab goes through the enabled fields in reading order.
    QCOMPARE(config.focusWidget()->objectName(), QString("CPU_OnT"));
    QStringList order;
    for (QWidget* next = config.focusWidget(); order.size() < 8; next = next->nextInFocusChain())
        if (next->isEnabled() && next->focusPolicy() & Qt::TabFocus) order << next->objectName();
    QCOMPARE(order, (QStringList{"CPU_OnT", "CPUDelayT", "CPULevelT", "AvTimeT", "Key_OnT",
                                 "KeyDelayT", "DL_OnT", "DLDelayT"}));
    rig.Screenshot(config, "config-window.png");
    const auto typeKeyDelay = [&](const QString& text) {
        auto* box = config.findChild<QLineEdit*>("KeyDelayT");
        box->selectAll();
        QTest::keyClicks(box, text);
        rig.Click(config, "Save");
    };
    typeKeyDelay("4");
    rig.Screenshot(config, "config-window-out-of-range.png");
    typeKeyDelay("900");
    rig.Click(config, "ExitConfig");
    QVERIFY(!config.isVisible());
    // The typed text reached the core, which saved it.
    QVERIFY(rig.folder.ReadFile(rig.folder.ini()).find("\r\nKeyDelay=900\r\n") !=
            std::string::npos);
    rig.Click(main, "Config");
    QVERIFY(config.isVisible());
    // A master keeps one check: the box the user cleared last is ticked again on screen.
    for (const char* name : {"Key_OnT", "DL_OnT", "Del_OnT", "CPU_OnT"})
        if (auto* box = config.findChild<QCheckBox*>(name); box->isChecked()) box->click();
    QVERIFY(config.findChild<QCheckBox*>("CPU_OnT")->isChecked());

    // The main window's text lines keep their size between texts: whatever the core writes
    // there must still be shown whole, and the lines stay one column.
    auto* counterLine = main.findChild<QLabel*>("Counter");
    const int startWidth = counterLine->width();
    QVERIFY(startWidth >= 440);
    const std::string wide(120, 'W');
    // The counter's text and boldness.
    const std::pair<std::string, bool> cases[] = {
        {wide, false},         {"short", false}, {wide + "WWWWWWWW", false},
        {wide + "WWWW", true}, {"short", true},  {"two\r\nlines", true}};
    int width = startWidth;
    for (const auto& [text, bold] : cases) {
        rig.program.mainWindow().control("Counter").caption = text;
        rig.program.mainWindow().control("Counter").bold = bold;
        rig.frontEnd->Deliver([] {});
        QCoreApplication::processEvents();
        for (const char* name : {"Title", "Counter", "CPULoad", "DLLoad"}) {
            const QLabel* line = main.findChild<QLabel*>(name);
            // What a label free to resize would ask for with the same font and text.
            QLabel free(line->text());
            free.setFont(line->font());
            QVERIFY2(line->width() >= free.sizeHint().width(), name);
            QCOMPARE(line->height(), free.sizeHint().height());
            QCOMPARE(line->width(), counterLine->width());
        }
        // Never narrower than before: a line that got shorter does not shrink the window.
        QVERIFY(counterLine->width() >= width);
        width = counterLine->width();
        QVERIFY(main.width() >= width);
    }
    QVERIFY(width > startWidth);

    // With the right to exit, the close button ends the program.
    QVERIFY(main.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    main.close();
    QVERIFY(rig.frontEnd->ended());
    QVERIFY(!main.isVisible());
    QCOMPARE(rig.frontEnd->exitCode(), 0);
}

void FrontEndTest::closeButtonIsRefusedWithoutTheRightToExit() {
    Rig rig;
    rig.folder.SetKey("UserExitA", "1");
    rig.sys.groups.answer = false;
    QVERIFY(rig.frontEnd->Start("-InhibitShutdown"));
    rig.Advance(4000);
    QVERIFY(!rig.main().windowFlags().testFlag(Qt::WindowCloseButtonHint));
    rig.main().close();
    QVERIFY(!rig.frontEnd->ended() && rig.main().isVisible());
}

void FrontEndTest::secondInstanceShowsOnlyTheNotice() {
    Rig rig;
    rig.guard.heldElsewhere = true;
    QVERIFY(rig.frontEnd->Start(""));
    int screens = 0;
    QCOMPARE(ScreenFaults(rig.frontEnd.get(), &screens), QString());
    QCOMPARE(screens, 1);
}

// The program's clock tells the local date and time Qt's own local time tells, asked again
// when a second passed in between.
void FrontEndTest::clockTellsTheLocalDateAndTime() {
    QDateTime before;
    LocalTime t;
    do {
        before = QDateTime::currentDateTime();
        t = QtClock().now();
    } while (before.toSecsSinceEpoch() != QDateTime::currentSecsSinceEpoch());
    const QDate d = before.date();
    const QTime h = before.time();
    QVERIFY((t == LocalTime{d.year(), d.month(), d.day(), h.hour(), h.minute(), h.second()}));
}

}  // namespace vespar::qt

QTEST_MAIN(vespar::qt::FrontEndTest)
#include "front_end_test.moc"
