#include "qt/config_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/clickable_label.h"
#include "qt/tray_icons.h"

namespace vespar::qt {

namespace {

// One group box; rows of caption, field and range label.
class Group {
  public:
    Group(ScreenWindow& window, QBoxLayout* column, const char* frame)
        : window_(window), box_(new QGroupBox(&window)), grid_(new QGridLayout(box_)) {
        box_->setTitle(QString::fromLatin1(window.model().control(frame).caption.c_str()));
        window.AddOwn(frame, box_);
        grid_->setColumnStretch(2, 1);
        column->addWidget(box_);
    }

    // A field named like its key with "T", with its caption "L" and its range label "M"
    // where they exist.
    void Row(const std::string& field, int width = 70, const std::string& range = "") {
        const std::string stem = field.substr(0, field.size() - 1);
        Caption(stem + "L");
        grid_->addWidget(Field(field, width), row_, 1, Qt::AlignLeft);
        Range(range.empty() ? stem + "M" : range);
        ++row_;
    }
    // Several fields on one line behind one caption.
    void Line(const std::string& caption, const std::vector<std::string>& parts,
              const std::string& range) {
        Caption(caption);
        auto* line = new QHBoxLayout;  // owned by the grid
        for (const std::string& part : parts) line->addWidget(Field(part, 60));
        line->addStretch();
        grid_->addLayout(line, row_, 1);
        Range(range);
        ++row_;
    }

  private:
    void Caption(const std::string& name) {
        if (window_.model().has(name)) grid_->addWidget(window_.NewLabel(name), row_, 0);
    }
    void Range(const std::string& name) {
        if (window_.model().has(name)) grid_->addWidget(window_.NewLabel(name), row_, 2);
    }
    // A check box, a list, a text box, or (for the ports) a caption label.
    QWidget* Field(const std::string& name, int width) {
        if (name.back() == 'L') return window_.NewLabel(name);
        if (!window_.model().control(name).items.empty()) return window_.NewList(name);
        if (ConfigScreen::IsCheckBox(name)) return window_.NewCheckBox(name);
        QLineEdit* box = window_.NewTextBox(name);
        box->setFixedWidth(width);
        return box;
    }
    ScreenWindow& window_;
    QGroupBox* box_;
    QGridLayout* grid_;
    int row_ = 0;
};

// Each time it opens, the keyboard focus starts on the first field.
class ConfigWindow : public ScreenWindow {
  public:
    using ScreenWindow::ScreenWindow;
    QWidget* first = nullptr;

  protected:
    void ApplyWindowState() override {
        const bool opening = model().visible && !isVisible();
        ScreenWindow::ApplyWindowState();
        if (opening && first != nullptr) first->setFocus();
    }
};

}  // namespace

std::unique_ptr<ScreenWindow> MakeConfigWindow(ConfigScreen& config, ScreenWindow::EventSink sink) {
    auto window = std::make_unique<ConfigWindow>(config, std::move(sink));
    ConfigWindow& w = *window;
    w.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                     Qt::WindowCloseButtonHint);
    w.setWindowIcon(TrayIconPicture(TrayIcon::Window));
    auto* top = new QVBoxLayout(&w);  // owned by the window
    top->setSizeConstraint(QLayout::SetFixedSize);
    auto* columns = new QHBoxLayout;
    top->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    Group activation(w, left, "ActivationFrame");
    for (const char* field :
         {"CPU_OnT", "CPUDelayT", "CPULevelT", "AvTimeT", "Key_OnT", "KeyDelayT", "DL_OnT",
          "DLDelayT", "DLRateT", "Del_OnT", "DelTimeT", "Stop_OnT", "StopTimeT"}) {
        activation.Row(field);
    }
    Group comms(w, left, "CommsFrame");
    comms.Row("IPAddT", 180);
    comms.Row("DNameT");
    comms.Line("PortsL", {"Port1L", "Port1T", "Port2L", "Port2T"}, "PortM");
    comms.Row("ComDelayT");
    left->addStretch();

    Group control(w, right, "ControlFrame");
    control.Line("StartDelayL", {"StartTimeT", "StartDelayT"}, "StartDelayM");
    for (const char* field : {"StartMinT", "RunOnTopT", "UExitT", "UpEnableT", "LogLevelT"}) {
        control.Row(field);
    }
    control.Row("LogNameT", 180);
    control.Row("LogPathT", 180);
    control.Row("LogRotateT");
    Group shutdown(w, right, "ShutdownFrame");
    shutdown.Row("ShutNameT", 0, "ShutTypeM");
    for (const char* field : {"ShutTimeT", "NoWarnT", "ForceT"}) shutdown.Row(field);
    right->addStretch();

    top->addWidget(w.NewLabel("Status"));
    top->addWidget(w.NewLabel("TMessage"));
    auto* buttons = new QHBoxLayout;
    top->addLayout(buttons);
    ClickableLabel* logo = w.NewLink("Logo");
    logo->setPixmap(LogoPicture().scaledToHeight(32, Qt::SmoothTransformation));
    buttons->addWidget(logo);
    buttons->addStretch();
    for (const char* name : {"Save", "RestoreData", "Archive", "ViewL", "ExitConfig"}) {
        buttons->addWidget(w.NewButton(name));
    }
    // The labels lie on the group boxes' own background.
    for (QLabel* label : w.findChildren<QLabel*>()) label->setAutoFillBackground(false);
    w.first = w.findChild<QWidget*>("CPU_OnT");
    return window;
}

}  // namespace vespar::qt
