#include "qt/front_end.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <optional>

#include "qt/about_window.h"
#include "qt/clickable_label.h"
#include "qt/config_window.h"
#include "qt/tray_icons.h"
#include "qt/updater_window.h"

namespace vespar::qt {

FrontEnd::FrontEnd(Program& program, const Clock& clock)
    : program_(program),
      clock_(clock),
      boundary_(program, clock,
                {[this] { Arm(); }, [this] { RefreshAll(); }, [this](int code) { End(code); }}) {
    // A coarse timer may fire early, which would cost a second wake-up to reach the due time.
    // The wake-up repeats: the core's timers repeat too, and a system timer that goes on at
    // their period is kept, where a single-shot one is removed and added again at every tick.
    wake_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wake_, &QTimer::timeout, [this] {
        armedFor_ += wake_.interval();
        Pump();
    });
    program_.timers().OnChange([this] { Arm(); });
}

FrontEnd::~FrontEnd() {
    program_.timers().OnChange(nullptr);
    wake_.stop();
}

bool FrontEnd::Start(const std::string& commandLine) {
    const ScreenWindow::EventSink sink = [this](const std::function<void()>& e) { Deliver(e); };
    Program::Window which = Program::Window::Main;
    Deliver([&] { which = program_.Enter(commandLine); });
    if (ended()) return false;

    if (which == Program::Window::MultiInst) {
        main_ = std::make_unique<ScreenWindow>(program_.multiInst(), sink);
        auto* layout = new QVBoxLayout(main_.get());  // owned by the window
        layout->setSizeConstraint(QLayout::SetFixedSize);
        auto* top = new QHBoxLayout;
        layout->addLayout(top);
        main_->AddLabel(top, MultiInstScreen::kImage1)
            ->setPixmap(main_->style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32));
        main_->AddLabel(top, MultiInstScreen::kErrorMess);
        main_->AddLink(top, MultiInstScreen::kLogo)->setPixmap(LogoPicture());
        main_->AddButton(layout, MultiInstScreen::kExit);
    } else {
        tray_ = std::make_unique<TrayView>(program_.mainWindow(), program_.runtime(),
                                           program_.windowRules(), sink);
        main_ = std::make_unique<MainWindowView>(program_.mainWindow(), program_.windowRules(),
                                                 sink, [this] { return tray_->Available(); });
        about_ = MakeAboutWindow(program_.windowRules().about(), sink);
        updater_ = std::make_unique<UpdaterWindow>(program_.updater(), sink);
        config_ = MakeConfigWindow(program_.configScreen(), sink);
        Deliver([&] { program_.LoadMainWindow(); });
    }
    if (ended()) return false;
    RefreshAll();
    return true;
}

void FrontEnd::StartTimers() {
    timersStarted_ = true;
    Arm();
}

void FrontEnd::Arm() {
    if (!timersStarted_ || ended()) return;
    const std::optional<std::int64_t> due = program_.timers().NextDue();
    if (!due) {
        // While a handler runs, its own timer is not due; it is again once the handler returns,
        // so the repeating wake-up is kept for it. One set for a moment already past repeats at
        // once, which would spin while a modal box holds the handler.
        if (!program_.timers().Busy() || wake_.interval() == 0) wake_.stop();
        return;
    }
    // Re-arming for the same moment would only replace the system timer with an equal one.
    if (wake_.isActive() && due == armedFor_) return;
    armedFor_ = *due;
    const std::int64_t wait = std::max<std::int64_t>(0, *due - clock_.tickMs());
    wake_.start(static_cast<int>(std::min<std::int64_t>(wait, std::numeric_limits<int>::max())));
}

void FrontEnd::Pump() { boundary_.Pump(); }

void FrontEnd::Deliver(const std::function<void()>& event) { boundary_.Deliver(event); }

void FrontEnd::RefreshAll() {
    if (main_) main_->Refresh();
    if (about_) about_->Refresh();
    if (updater_) updater_->Refresh();
    if (config_) config_->Refresh();
    if (tray_) tray_->Refresh();
}

void FrontEnd::End(int code) {
    wake_.stop();
    if (tray_) tray_->Remove();
    if (about_) about_->hide();
    if (updater_) updater_->hide();
    if (config_) config_->hide();
    if (main_) main_->hide();
    QCoreApplication::exit(code);
}

}  // namespace vespar::qt
