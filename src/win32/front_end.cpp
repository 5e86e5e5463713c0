#include "win32/front_end.h"

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>
#include <optional>

#include "win32/config_window.h"
#include "win32/main_window_view.h"
#include "win32/small_windows.h"

namespace vespar::win32 {

namespace {
constexpr UINT_PTR kWakeTimer = 1;
}

FrontEnd::FrontEnd(Program& program, const Clock& clock)
    : program_(program),
      clock_(clock),
      boundary_(program, clock,
                {[this] { Arm(); }, [this] { RefreshAll(); }, [this](int code) { End(code); }}),
      wake_([this](UINT message, WPARAM wParam, LPARAM) {
          if (message == WM_TIMER && wParam == kWakeTimer) {
              // One shot: Pump arms the next wake-up.
              KillTimer(wake_.hwnd(), kWakeTimer);
              armedFor_.reset();
              Pump();
          }
      }) {
    // The tooltips of every window.
    const INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    program_.timers().OnChange([this] { Arm(); });
}

FrontEnd::~FrontEnd() {
    program_.timers().OnChange(nullptr);
    KillTimer(wake_.hwnd(), kWakeTimer);
}

bool FrontEnd::Start(const std::string& commandLine) {
    const EventSink sink = [this](const std::function<void()>& e) { Deliver(e); };
    Program::Window which = Program::Window::Main;
    Deliver([&] { which = program_.Enter(commandLine); });
    if (ended()) return false;

    if (which == Program::Window::MultiInst) {
        main_ = MakeMultiInstWindow(program_.multiInst(), sink, theme_, pictures_);
    } else {
        auto main = std::make_unique<MainWindowView>(
            program_.mainWindow(), program_.windowRules(), sink, theme_, pictures_,
            [this] { return tray_ == nullptr || tray_->Available(); });
        tray_ = std::make_unique<TrayView>(program_.mainWindow(), program_.runtime(),
                                           program_.windowRules(), sink, pictures_, main->hwnd());
        main->SetHook([this](UINT message, WPARAM wParam, LPARAM lParam) {
            return MainWindowMessage(message, wParam, lParam);
        });
        main_ = std::move(main);
        about_ = MakeAboutWindow(program_.windowRules().about(), sink, theme_, pictures_);
        updater_ = MakeUpdaterWindow(program_.updater(), sink, theme_, pictures_);
        config_ = MakeConfigWindow(program_.configScreen(), sink, theme_, pictures_);
        Deliver([&] { program_.LoadMainWindow(); });
    }
    if (ended()) return false;
    RefreshAll();
    return true;
}

bool FrontEnd::MainWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (tray_ && tray_->OnMessage(message, wParam, lParam)) return true;
    // The session ends (log off, shut down by someone else): the program's own exit runs,
    // with its last log entry, before the system ends the process.
    if (message == WM_ENDSESSION && wParam != FALSE) {
        Deliver([this] { program_.EndBySystem(""); });
        return true;
    }
    return false;
}

void FrontEnd::StartTimers() {
    timersStarted_ = true;
    Arm();
}

void FrontEnd::Arm() {
    if (!timersStarted_ || ended()) return;
    const std::optional<std::int64_t> due = program_.timers().NextDue();
    if (!due) {
        KillTimer(wake_.hwnd(), kWakeTimer);
        armedFor_.reset();
        return;
    }
    // Re-arming for the same moment would only replace the system timer with an equal one.
    if (armedFor_ == due) return;
    armedFor_ = due;
    const std::int64_t wait =
        std::clamp<std::int64_t>(*due - clock_.tickMs(), USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    SetTimer(wake_.hwnd(), kWakeTimer, static_cast<UINT>(wait), nullptr);
}

void FrontEnd::Pump() { boundary_.Pump(); }

void FrontEnd::Deliver(const std::function<void()>& event) { boundary_.Deliver(event); }

void FrontEnd::RefreshAll() {
    // The tray first: whether it took the icon decides where a minimised main window goes.
    if (tray_) tray_->Refresh();
    for (ScreenWindow* window : {main_.get(), about_.get(), updater_.get(), config_.get()}) {
        if (window != nullptr) window->Refresh();
    }
}

bool FrontEnd::DialogKey(MSG& message) const {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    for (const ScreenWindow* window : {main_.get(), about_.get(), updater_.get(), config_.get()}) {
        if (window != nullptr && window->hwnd() == root) {
            return IsDialogMessageA(root, &message) != FALSE;
        }
    }
    return false;
}

void FrontEnd::End(int code) {
    KillTimer(wake_.hwnd(), kWakeTimer);
    if (tray_) tray_->Remove();
    for (ScreenWindow* window : {about_.get(), updater_.get(), config_.get(), main_.get()}) {
        if (window != nullptr) window->Hide();
    }
    PostQuitMessage(code);
}

}  // namespace vespar::win32
