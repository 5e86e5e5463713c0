// The configuration window's real widgets on the real core: a person's edits reach the
// settings, and what the rules decide shows on screen.

#include <QCheckBox>
#include <QLineEdit>

#include "unit/qt/front_end_rig.h"

namespace vespar::qt {

class ConfigWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void savedChangeTakesEffectOnExit();
    void outOfRangeValuesAreHighlighted();

  private:
    // Starts the program and opens the configuration window from the main window.
    static ScreenWindow& Open(Rig& rig) {
        rig.frontEnd->Start("");
        rig.Advance(1000);
        QTest::mouseClick(rig.Button(rig.main(), "Config"), Qt::LeftButton);
        return *rig.frontEnd->configWindow();
    }
    static void Retype(ScreenWindow& w, const char* name, const QString& text) {
        auto* box = w.findChild<QLineEdit*>(name);
        box->selectAll();
        QTest::keyClicks(box, text);
    }
};

void ConfigWindowTest::savedChangeTakesEffectOnExit() {
    Rig rig;
    ScreenWindow& w = Open(rig);
    QVERIFY(w.isVisible());
    QCOMPARE(w.windowTitle(), QString("Vespar Configuration"));
    // A disabled field cannot be typed into or reached with Tab.
    const auto* comDelay = w.findChild<QLineEdit*>("ComDelayT");
    QVERIFY(!comDelay->isEnabled());
    QCOMPARE(comDelay->text(), QString("60"));
    // The focus starts on the first field; Tab goes through the fields in reading order.
    QCOMPARE(w.focusWidget()->objectName(), QString("CPU_OnT"));
    QStringList order;
    QWidget* next = w.findChild<QCheckBox*>("CPU_OnT");
    while (order.size() < 8) {
        if (next->isEnabled() && next->focusPolicy() & Qt::TabFocus) order << next->objectName();
        next = next->nextInFocusChain();
    }
    QCOMPARE(order, (QStringList{"CPU_OnT", "CPUDelayT", "CPULevelT", "AvTimeT", "Key_OnT",
                                 "KeyDelayT", "DL_OnT", "DLDelayT"}));
    rig.Screenshot(w, "config-window.png");

    Retype(w, "KeyDelayT", "900");
    QTest::mouseClick(rig.Button(w, "Save"), Qt::LeftButton);
    QCOMPARE(rig.Text(w, "Status"), QString("Changes Saved - Click Exit To Activate The Changes"));
    QTest::mouseClick(rig.Button(w, "ExitConfig"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(rig.Text(rig.main(), "Title"),
             QString("Power Off if there is no activity for 900 sec"));
    QVERIFY(rig.Button(rig.main(), "Config")->isEnabled());
}

void ConfigWindowTest::outOfRangeValuesAreHighlighted() {
    Rig rig;
    ScreenWindow& w = Open(rig);
    Retype(w, "KeyDelayT", "4");
    QTest::mouseClick(rig.Button(w, "Save"), Qt::LeftButton);
    QCOMPARE(rig.Text(w, "Status"),
             QString("Item(s) Highlighted Contain Out Of Range Values - Changes Not Saved"));
    const QLabel* label = w.findChild<QLabel*>("KeyDelayM");
    QVERIFY(label->font().bold());
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 128, 0));
    QVERIFY(!w.findChild<QLabel*>("CPUDelayM")->font().bold());
    rig.Screenshot(w, "config-window-out-of-range.png");

    // A master keeps one check: the box the user cleared last is ticked again on screen.
    for (const char* name : {"Key_OnT", "DL_OnT", "Del_OnT", "CPU_OnT"}) {
        auto* box = w.findChild<QCheckBox*>(name);
        if (box->isChecked()) box->click();
    }
    QVERIFY(w.findChild<QCheckBox*>("CPU_OnT")->isChecked());
}

std::unique_ptr<QObject> MakeConfigWindowTest() { return std::make_unique<ConfigWindowTest>(); }

}  // namespace vespar::qt

#include "config_window_test.moc"
