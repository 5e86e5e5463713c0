// The configuration window's real widgets on the real core: a person's edits reach the
// settings, and what the rules decide shows on screen.

#include <QCheckBox>
#include <QLineEdit>

#include "unit/qt/front_end_rig.h"
#include "unit/qt/screen_check.h"

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
    QCOMPARE(MisdrawnControls(w), QString());
    // The focus starts on the first field; Tab goes through the enabled fields in reading order.
    QCOMPARE(w.focusWidget()->objectName(), QString("CPU_OnT"));
    QStringList order;
    for (QWidget* next = w.focusWidget(); order.size() < 8; next = next->nextInFocusChain()) {
        if (next->isEnabled() && next->focusPolicy() & Qt::TabFocus) order << next->objectName();
    }
    QCOMPARE(order, (QStringList{"CPU_OnT", "CPUDelayT", "CPULevelT", "AvTimeT", "Key_OnT",
                                 "KeyDelayT", "DL_OnT", "DLDelayT"}));
    rig.Screenshot(w, "config-window.png");

    Retype(w, "KeyDelayT", "900");
    QTest::mouseClick(rig.Button(w, "Save"), Qt::LeftButton);
    QCOMPARE(MisdrawnControls(w), QString());
    QTest::mouseClick(rig.Button(w, "ExitConfig"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(rig.Text(rig.main(), "Title"),
             QString("Power Off if there is no activity for 900 sec"));
}

void ConfigWindowTest::outOfRangeValuesAreHighlighted() {
    Rig rig;
    ScreenWindow& w = Open(rig);
    Retype(w, "KeyDelayT", "4");
    QTest::mouseClick(rig.Button(w, "Save"), Qt::LeftButton);
    QVERIFY(w.findChild<QLabel*>("KeyDelayM")->font().bold());
    QCOMPARE(MisdrawnControls(w), QString());
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
