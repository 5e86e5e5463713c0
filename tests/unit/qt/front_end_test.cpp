// The Qt front-end on the real core with fake system services: real widgets are clicked and
// typed into and must show what the core's rules made of it. Set VESPAR_SCREENSHOT_DIR to also save
// pictures of the windows there.

#include "qt/front_end.h"

#include <QCheckBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

#include "qt/qt_clock.h"
#include "qt/tray_icons.h"
#include "unit/qt/front_end_rig.h"
#include "unit/qt/screen_check.h"

namespace vespar::qt {

class FrontEndTest : public QObject {
    Q_OBJECT

  private slots:
    void statusWarningAndCancelShowOnScreen();
    void aboutWindowAndTrayMenu();
    void closeButtonFollowsTheRightToExit();
    void secondInstanceShowsOnlyTheNotice();
    void configurationIsTypedCheckedAndSaved();
    void heldLinesShowEveryTextWhole();
    void clockTellsTheLocalDateAndTime();

  private:
    static void Retype(ScreenWindow& w, const char* name, const QString& text) {
        auto* box = w.findChild<QLineEdit*>(name);
        box->selectAll();
        QTest::keyClicks(box, text);
    }
};

void FrontEndTest::statusWarningAndCancelShowOnScreen() {
    Rig rig;
    QVERIFY(rig.frontEnd->Start("-InhibitShutdown"));
    ScreenWindow& main = rig.main();
    rig.Advance(4500);
    QCOMPARE(rig.program.runtime().monitorState, MonitorState::Run);
    int screens = 0;
    QCOMPARE(ScreenFaults(rig.frontEnd.get(), &screens), QString());
    QVERIFY(screens >= 2);  // the main window and the About screen at least
    QVERIFY(!main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    rig.Screenshot(main, "main-window-run.png");

    const WId native = main.winId();
    rig.Advance(7500);
    QCOMPARE(rig.program.runtime().monitorState, MonitorState::Shutdown);
    QCOMPARE(ScreenFaults(rig.frontEnd.get()), QString());
    // The warning comes up above every other window.
    QVERIFY(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(main.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(main.winId(), native);  // the same native window, raised, not re-created
    QVERIFY(main.isVisible());
    rig.Screenshot(main, "main-window-warning.png");
    const auto picture = [](const QIcon& icon) { return icon.pixmap(32).toImage(); };
    QCOMPARE(picture(rig.frontEnd->tray()->icon().icon()),
             picture(TrayIconPicture(TrayIcon::Shutdown)));
    QVERIFY(picture(TrayIconPicture(TrayIcon::Shutdown)) !=
            picture(TrayIconPicture(TrayIcon::Activate)));

    QTest::mouseClick(rig.Button(main, "Reset"), Qt::LeftButton);
    QCOMPARE(rig.program.runtime().monitorState, MonitorState::Initialise);
    QCOMPARE(ScreenFaults(rig.frontEnd.get()), QString());
    QVERIFY(!main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(picture(rig.frontEnd->tray()->icon().icon()),
             picture(TrayIconPicture(TrayIcon::Activate)));
    QVERIFY(rig.sys.power.calls.empty());
}

void FrontEndTest::aboutWindowAndTrayMenu() {
    Rig rig;
    QVERIFY(rig.frontEnd->Start("-InhibitShutdown"));
    ScreenWindow& main = rig.main();
    TrayView& tray = *rig.frontEnd->tray();
    rig.Advance(4000);
    QTest::mouseClick(rig.Button(main, "About"), Qt::LeftButton);
    ScreenWindow& about = rig.about();
    QVERIFY(about.isVisible());
    rig.Advance(1000);  // its countdown runs
    QCOMPARE(ScreenFaults(rig.frontEnd.get()), QString());
    rig.Screenshot(about, "about-window.png");
    QTest::mouseClick(about.findChild<QLabel*>("WebSite"), Qt::LeftButton);
    QCOMPARE(rig.sys.urlOpener.opened.size(), std::size_t{1});
    QTest::mouseClick(rig.Button(about, "ExitAbout"), Qt::LeftButton);
    QVERIFY(!about.isVisible());

    // The tray menu minimises the window and a double click brings it back.

    tray.Activated(QSystemTrayIcon::Context);
    QVERIFY(tray.menu().isVisible());
    tray.menu().hide();

    rig.Item("mPopUpMin")->trigger();
    QVERIFY(rig.program.mainWindow().minimised);
    // Without a tray the window waits in the task bar; with one it hides behind the icon.
    if (tray.Available()) {
        QVERIFY(!main.isVisible());
        QVERIFY(tray.icon().isVisible());
    } else {
        QVERIFY(main.isMinimized());
    }
    QCOMPARE(ScreenFaults(rig.frontEnd.get()), QString());

    tray.Activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(!rig.program.mainWindow().minimised);
    QVERIFY(main.isVisible());
    QVERIFY(!main.isMinimized());

    // Minimising by the window's own button is the user's choice, which the core hears of.
    main.setWindowState(Qt::WindowMinimized);
    QVERIFY(rig.program.mainWindow().minimised);
    QVERIFY(rig.program.runtime().minimiseToggled);
    QCOMPARE(ScreenFaults(rig.frontEnd.get()), QString());
}

void FrontEndTest::closeButtonFollowsTheRightToExit() {
    for (const bool entitled : {false, true}) {
        Rig rig(entitled);
        QVERIFY(rig.frontEnd->Start("-InhibitShutdown"));
        ScreenWindow& main = rig.main();
        rig.Advance(4000);
        QCOMPARE(main.windowFlags().testFlag(Qt::WindowCloseButtonHint), entitled);
        main.close();
        QCOMPARE(rig.frontEnd->ended(), entitled);
        QCOMPARE(main.isVisible(), !entitled);
        QCOMPARE(rig.frontEnd->exitCode(), 0);
    }
}

// A second instance shows only the notice.
void FrontEndTest::secondInstanceShowsOnlyTheNotice() {
    Rig rig;
    rig.guard.heldElsewhere = true;
    QVERIFY(rig.frontEnd->Start(""));
    int screens = 0;
    QCOMPARE(ScreenFaults(rig.frontEnd.get(), &screens), QString());
    QCOMPARE(screens, 1);
}

void FrontEndTest::configurationIsTypedCheckedAndSaved() {
    Rig rig;
    rig.frontEnd->Start("");
    rig.Advance(1000);
    QTest::mouseClick(rig.Button(rig.main(), "Config"), Qt::LeftButton);
    ScreenWindow& w = *rig.frontEnd->configWindow();
    QVERIFY(w.isVisible());
    QCOMPARE(ScreenFaults(rig.frontEnd.get()), QString());
    // The focus starts on the first field; Tab goes through the enabled fields in reading order.
    QCOMPARE(w.focusWidget()->objectName(), QString("CPU_OnT"));
    QStringList order;
    for (QWidget* next = w.focusWidget(); order.size() < 8; next = next->nextInFocusChain()) {
        if (next->isEnabled() && next->focusPolicy() & Qt::TabFocus) order << next->objectName();
    }
    QCOMPARE(order, (QStringList{"CPU_OnT", "CPUDelayT", "CPULevelT", "AvTimeT", "Key_OnT",
                                 "KeyDelayT", "DL_OnT", "DLDelayT"}));
    rig.Screenshot(w, "config-window.png");

    Retype(w, "KeyDelayT", "4");
    QTest::mouseClick(rig.Button(w, "Save"), Qt::LeftButton);
    QVERIFY(w.findChild<QLabel*>("KeyDelayM")->font().bold());
    QCOMPARE(ScreenFaults(rig.frontEnd.get()), QString());
    rig.Screenshot(w, "config-window-out-of-range.png");

    Retype(w, "KeyDelayT", "900");
    QTest::mouseClick(rig.Button(w, "Save"), Qt::LeftButton);
    QCOMPARE(ScreenFaults(rig.frontEnd.get()), QString());
    QTest::mouseClick(rig.Button(w, "ExitConfig"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(rig.main().findChild<QLabel*>("Title")->text(),
             QString("Power Off if there is no activity for 900 sec"));

    QTest::mouseClick(rig.Button(rig.main(), "Config"), Qt::LeftButton);
    QVERIFY(w.isVisible());
    // A master keeps one check: the box the user cleared last is ticked again on screen.
    for (const char* name : {"Key_OnT", "DL_OnT", "Del_OnT", "CPU_OnT"}) {
        auto* box = w.findChild<QCheckBox*>(name);
        if (box->isChecked()) box->click();
    }
    QVERIFY(w.findChild<QCheckBox*>("CPU_OnT")->isChecked());
}

// The main window's text lines keep their size between texts: whatever the core writes there
// must still be shown whole, and the lines stay one column.
void FrontEndTest::heldLinesShowEveryTextWhole() {
    Rig rig;
    QVERIFY(rig.frontEnd->Start("-InhibitShutdown"));
    rig.Advance(4500);
    ScreenWindow& main = rig.main();
    const char* const lines[] = {"Title", "Counter", "CPULoad", "DLLoad"};
    const int startWidth = main.findChild<QLabel*>("Counter")->width();
    QVERIFY(startWidth >= 440);

    const std::string wide(120, 'W');
    const struct {
        std::string counter;
        bool bold;
    } cases[] = {{wide, false},         {"short", false}, {wide + "WWWWWWWW", false},
                 {wide + "WWWW", true}, {"short", true},  {"two\r\nlines", true}};
    int width = startWidth;
    for (const auto& c : cases) {
        Control& counter = rig.program.mainWindow().control("Counter");
        counter.caption = c.counter;
        counter.bold = c.bold;
        rig.frontEnd->Deliver([] {});
        QCoreApplication::processEvents();
        for (const char* name : lines) {
            const QLabel* line = main.findChild<QLabel*>(name);
            // What a label free to resize would ask for with the same font and text.
            QLabel free(line->text());
            free.setFont(line->font());
            QVERIFY2(line->width() >= free.sizeHint().width(), name);
            QCOMPARE(line->height(), free.sizeHint().height());
            QCOMPARE(line->width(), main.findChild<QLabel*>("Counter")->width());
        }
        // Never narrower than before: a line that got shorter does not shrink the window.
        QVERIFY(main.findChild<QLabel*>("Counter")->width() >= width);
        width = main.findChild<QLabel*>("Counter")->width();
        QVERIFY(main.width() >= width);
    }
    QVERIFY(width > startWidth);
}

// The program's clock tells the local date and time Qt's own local time tells.
void FrontEndTest::clockTellsTheLocalDateAndTime() {
    const QtClock clock;
    // Asked again when a second passed in between.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QDateTime before = QDateTime::currentDateTime();
        const LocalTime t = clock.now();
        const QDateTime after = QDateTime::currentDateTime();
        if (before.toSecsSinceEpoch() != after.toSecsSinceEpoch()) continue;
        const LocalTime expected{before.date().year(),   before.date().month(),
                                 before.date().day(),    before.time().hour(),
                                 before.time().minute(), before.time().second()};
        QVERIFY(t == expected);
        return;
    }
    QFAIL("the seconds kept turning over");
}

}  // namespace vespar::qt

QTEST_MAIN(vespar::qt::FrontEndTest)
#include "front_end_test.moc"
