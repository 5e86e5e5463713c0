// The Qt front-end on the real core with fake system services: real widgets are clicked and
// must show what the core's rules made of the click. Set VESPAR_SCREENSHOT_DIR to also save
// pictures of the windows there.

#include "qt/front_end.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QWindow>
#include <QtTest>
#include <memory>

#include "qt/tray_icons.h"
#include "unit/qt/front_end_rig.h"
#include "unit/qt/screen_check.h"

namespace vespar::qt {

class FrontEndTest : public QObject {
    Q_OBJECT

  private slots:
    void statusWarningAndCancelShowOnScreen();
    void aboutWindowCountsDownAndCloses();
    void trayMenuMinimisesAndRestores();
    void closeButtonFollowsTheRightToExit();
    void everyControlOfEveryScreenIsDrawn();
};

void FrontEndTest::statusWarningAndCancelShowOnScreen() {
    Rig rig;
    QVERIFY(rig.frontEnd->Start("-InhibitShutdown"));
    ScreenWindow& main = rig.main();
    rig.Advance(4500);
    QCOMPARE(rig.program.runtime().monitorState, MonitorState::Run);
    QCOMPARE(MisdrawnControls(main, rig.frontEnd.get()), QString());
    QVERIFY(!main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    rig.Screenshot(main, "main-window-run.png");

    const WId native = main.winId();
    rig.Advance(7500);
    QCOMPARE(rig.program.runtime().monitorState, MonitorState::Shutdown);
    QCOMPARE(MisdrawnControls(main, rig.frontEnd.get()), QString());
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
    QCOMPARE(MisdrawnControls(main, rig.frontEnd.get()), QString());
    QVERIFY(!main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(picture(rig.frontEnd->tray()->icon().icon()),
             picture(TrayIconPicture(TrayIcon::Activate)));
    QVERIFY(rig.sys.power.calls.empty());
}

void FrontEndTest::aboutWindowCountsDownAndCloses() {
    Rig rig;
    QVERIFY(rig.frontEnd->Start("-InhibitShutdown"));
    rig.Advance(4000);
    QVERIFY(!rig.about().isVisible());
    QTest::mouseClick(rig.Button(rig.main(), "About"), Qt::LeftButton);
    ScreenWindow& about = rig.about();
    QVERIFY(about.isVisible());
    rig.Advance(1000);
    QCOMPARE(MisdrawnControls(about), QString());
    QCOMPARE(MisdrawnControls(rig.main()), QString());
    rig.Screenshot(about, "about-window.png");
    QTest::mouseClick(about.findChild<QLabel*>("WebSite"), Qt::LeftButton);
    QCOMPARE(rig.sys.urlOpener.opened.size(), std::size_t{1});
    QTest::mouseClick(rig.Button(about, "ExitAbout"), Qt::LeftButton);
    QVERIFY(!about.isVisible());
}

void FrontEndTest::trayMenuMinimisesAndRestores() {
    Rig rig;
    QVERIFY(rig.frontEnd->Start("-InhibitShutdown"));
    ScreenWindow& main = rig.main();
    TrayView& tray = *rig.frontEnd->tray();
    rig.Advance(4000);

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
    QCOMPARE(MisdrawnControls(main, rig.frontEnd.get()), QString());

    tray.Activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(!rig.program.mainWindow().minimised);
    QVERIFY(main.isVisible());
    QVERIFY(!main.isMinimized());

    // Minimising by the window's own button is the user's choice, which the core hears of.
    main.setWindowState(Qt::WindowMinimized);
    QVERIFY(rig.program.mainWindow().minimised);
    QVERIFY(rig.program.runtime().minimiseToggled);
    QCOMPARE(MisdrawnControls(main, rig.frontEnd.get()), QString());
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

void FrontEndTest::everyControlOfEveryScreenIsDrawn() {
    int screens = 0;
    {
        Rig rig;
        QVERIFY(rig.frontEnd->Start("-InhibitShutdown"));
        rig.Advance(1000);
        QCOMPARE(UndrawnControls(*rig.frontEnd, screens), QString());
        QVERIFY(screens >= 2);  // the main window and the About screen at least
    }
    // A second instance shows only the notice.
    Rig first;
    first.guard.heldElsewhere = true;
    QVERIFY(first.frontEnd->Start(""));
    QCOMPARE(UndrawnControls(*first.frontEnd, screens), QString());
    QCOMPARE(screens, 1);
}

}  // namespace vespar::qt

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vespar::qt::FrontEndTest frontEnd;
    const std::unique_ptr<QObject> config = vespar::qt::MakeConfigWindowTest();
    const int failedFrontEnd = QTest::qExec(&frontEnd, argc, argv);
    return failedFrontEnd + QTest::qExec(config.get(), argc, argv);
}
#include "front_end_test.moc"
