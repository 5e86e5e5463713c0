// The Qt front-end on the real core with fake system services: real widgets are clicked and
// must show what the core's rules made of the click. Set VESPAR_SCREENSHOT_DIR to also save
// pictures of the windows there.

#include "qt/front_end.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QWindow>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "app/program.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_network.h"
#include "fakes/fake_system_ports.h"
#include "fakes/scripted_dialogs.h"
#include "fakes/temp_program_folder.h"
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
    QVERIFY(main.isVisible());
    QCOMPARE(main.windowTitle(), QString("Vespar"));
    QCOMPARE(rig.Button(main, "Update")->toolTip(),
             QString("Check the Karvell web site for the latest version of Vespar"));
    rig.Advance(4500);
    QCOMPARE(rig.program.runtime().monitorState, MonitorState::Run);
    // The activation lists the interfaces.
    const auto* list = main.findChild<QComboBox*>("NetCon");
    const Control& netCon = rig.program.mainWindow().control("NetCon");
    QCOMPARE(list->count(), static_cast<int>(netCon.items.size()));
    QCOMPARE(list->itemText(1), QString::fromLatin1(netCon.items[1].c_str()));
    QVERIFY(!main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    rig.Screenshot(main, "main-window-run.png");

    const WId native = main.winId();
    rig.Advance(7500);
    QCOMPARE(rig.program.runtime().monitorState, MonitorState::Shutdown);
    QVERIFY(rig.Text(main, "Counter").startsWith("The Computer Will Power Off In "));
    QCOMPARE(rig.Text(main, "Reset"), QString("&Cancel"));
    // The warning comes up above every other window, and the tray menu offers Cancel.
    QVERIFY(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(main.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(main.winId(), native);  // the same native window, raised, not re-created
    QVERIFY(main.isVisible());
    QVERIFY(rig.Item("mPopUpCancel")->isVisible());
    QVERIFY(!rig.Item("mPopUpReset")->isVisible());
    rig.Screenshot(main, "main-window-warning.png");
    const auto picture = [](const QIcon& icon) { return icon.pixmap(32).toImage(); };
    QCOMPARE(picture(rig.frontEnd->tray()->icon().icon()),
             picture(TrayIconPicture(TrayIcon::Shutdown)));
    QVERIFY(picture(TrayIconPicture(TrayIcon::Shutdown)) !=
            picture(TrayIconPicture(TrayIcon::Activate)));

    QTest::mouseClick(rig.Button(main, "Reset"), Qt::LeftButton);
    QCOMPARE(rig.program.runtime().monitorState, MonitorState::Initialise);
    QCOMPARE(rig.Text(main, "Reset"), QString("&Reset"));
    QVERIFY(!main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!rig.Item("mPopUpCancel")->isVisible());
    QCOMPARE(picture(rig.frontEnd->tray()->icon().icon()),
             picture(TrayIconPicture(TrayIcon::Activate)));
    QVERIFY(rig.sys.power.calls.empty());
}

void FrontEndTest::aboutWindowCountsDownAndCloses() {
    Rig rig;
    QVERIFY(rig.frontEnd->Start("-InhibitShutdown"));
    ScreenWindow& main = rig.main();
    rig.Advance(4000);
    QVERIFY(!rig.about().isVisible());

    QTest::mouseClick(rig.Button(main, "About"), Qt::LeftButton);
    ScreenWindow& about = rig.about();
    QVERIFY(about.isVisible());
    QCOMPARE(about.windowTitle(), QString("About Vespar"));
    QVERIFY(!rig.Button(main, "About")->isEnabled());
    rig.Advance(1000);
    QCOMPARE(rig.Text(about, "TMessage"), QString("About will close in 4 sec"));
    rig.Screenshot(about, "about-window.png");
    QTest::mouseClick(about.findChild<QLabel*>("WebSite"), Qt::LeftButton);
    QCOMPARE(rig.sys.urlOpener.opened.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(rig.sys.urlOpener.opened[0]), rig.Text(about, "WebSite"));
    QTest::mouseClick(rig.Button(about, "ExitAbout"), Qt::LeftButton);
    QVERIFY(!about.isVisible());
    QVERIFY(rig.Button(main, "About")->isEnabled());
}

void FrontEndTest::trayMenuMinimisesAndRestores() {
    Rig rig;
    QVERIFY(rig.frontEnd->Start("-InhibitShutdown"));
    ScreenWindow& main = rig.main();
    TrayView& tray = *rig.frontEnd->tray();
    rig.Advance(4000);

    tray.Activated(QSystemTrayIcon::Context);
    QVERIFY(tray.menu().isVisible());
    QCOMPARE(rig.Item("mPopUpAbout")->text(), QString("About Vespar"));
    QVERIFY(rig.Item("mPopUpMin")->isVisible());
    QVERIFY(!rig.Item("mPopUpRestore")->isVisible());
    tray.menu().hide();

    rig.Item("mPopUpMin")->trigger();
    QVERIFY(rig.program.mainWindow().minimised);
    // Without a tray the window waits in the task bar; with one it hides behind the icon.
    if (rig.frontEnd->tray()->Available()) {
        QVERIFY(!main.isVisible());
        QVERIFY(tray.icon().isVisible());
    } else {
        QVERIFY(main.isMinimized());
    }
    QVERIFY(rig.Item("mPopUpRestore")->isVisible());
    QVERIFY(!rig.Item("mPopUpMin")->isVisible());

    tray.Activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(!rig.program.mainWindow().minimised);
    QVERIFY(main.isVisible());
    QVERIFY(!main.isMinimized());
    QVERIFY(rig.Item("mPopUpMin")->isVisible());

    // Minimising by the window's own button is the user's choice, which the core hears of.
    main.setWindowState(Qt::WindowMinimized);
    QVERIFY(rig.program.mainWindow().minimised);
    QVERIFY(rig.program.runtime().minimiseToggled);
    QVERIFY(rig.Item("mPopUpRestore")->isVisible());
}

void FrontEndTest::closeButtonFollowsTheRightToExit() {
    {
        Rig rig(false);
        QVERIFY(rig.frontEnd->Start("-InhibitShutdown"));
        ScreenWindow& main = rig.main();
        rig.Advance(4000);
        QVERIFY(!main.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!rig.Button(main, "Exit")->isEnabled());
        QVERIFY(!rig.Item("mPopUpExit")->isEnabled());
        main.close();
        QVERIFY(!rig.frontEnd->ended());
        QVERIFY(main.isVisible());
    }
    Rig rig;
    QVERIFY(rig.frontEnd->Start("-InhibitShutdown"));
    ScreenWindow& main = rig.main();
    rig.Advance(4000);
    QVERIFY(main.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    main.close();
    QVERIFY(rig.frontEnd->ended());
    QCOMPARE(rig.frontEnd->exitCode(), 0);
    QVERIFY(!main.isVisible());
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
