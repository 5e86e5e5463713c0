// The Linux executable: a Qt event loop around the portable core.

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/program.h"
#include "base/program_exit.h"
#include "platform/linux/admin_groups.h"
#include "platform/linux/desktop_url_opener.h"
#include "platform/linux/editor_viewer.h"
#include "platform/linux/input_source_factory.h"
#include "platform/linux/linux_version.h"
#include "platform/linux/lock_file_guard.h"
#include "platform/linux/logind_power_actions.h"
#include "platform/linux/proc_net_dev_table.h"
#include "platform/linux/proc_stat_times.h"
#include "platform/linux/process_priority.h"
#include "platform/linux/unavailable_native_counters.h"
#include "platform/linux/user_connection_setting.h"
#include "qt/qt_clock.h"
#include "qt/qt_dialogs.h"
#include "qt/screen_window.h"
#include "system/system_error.h"

namespace {

using vespar::ProgramExit;
using vespar::qt::ScreenWindow;

std::string CommandLine(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

// The power actions talk to logind on the system bus. VESPAR_LOGIND_BUS points them at
// another bus instead, so that the real program can be tested against a mock logind without
// any chance of switching the test machine off.
std::unique_ptr<vespar::linux_platform::LogindPowerActions> OpenPowerActions() {
    if (const char* bus = std::getenv("VESPAR_LOGIND_BUS"); bus != nullptr) {
        return std::make_unique<vespar::linux_platform::LogindPowerActions>(bus);
    }
    return std::make_unique<vespar::linux_platform::LogindPowerActions>();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    // The program folder holds Data/ and Log/; relative paths are read against it.
    QDir::setCurrent(QCoreApplication::applicationDirPath());

    vespar::qt::QtClock clock;
    vespar::qt::QtDialogs dialogs;
    vespar::linux_platform::LockFileGuard guard;
    vespar::linux_platform::ProcessPriority priority;
    vespar::linux_platform::ProcStatTimes systemTimes;
    vespar::linux_platform::UnavailableNativeCounters nativeCounters;
    vespar::linux_platform::LinuxVersion version;
    vespar::linux_platform::ProcNetDevTable interfaces;
    vespar::linux_platform::UserConnectionSetting connection;
    const std::unique_ptr<vespar::InputSource> input = vespar::linux_platform::OpenInputSource();
    const auto power = OpenPowerActions();
    vespar::linux_platform::AdminGroups groups;
    vespar::linux_platform::EditorViewer viewer;
    vespar::linux_platform::DesktopUrlOpener urlOpener;
    vespar::Program program(
        clock, dialogs, guard, priority,
        vespar::SystemPorts{systemTimes, nativeCounters, version, interfaces, connection, *input,
                            *power, groups, viewer, urlOpener},
        QCoreApplication::applicationDirPath().toStdString());

    std::unique_ptr<ScreenWindow> window;
    bool ended = false;
    int exitCode = 0;

    const auto end = [&](int code) {
        ended = true;
        exitCode = code;
        QCoreApplication::exit(code);
    };
    // The event boundary: a ProgramExit from anywhere in the core ends the program here, and
    // a failed system action is reported before it does.
    ScreenWindow::EventSink boundary = [&](const std::function<void()>& event) {
        if (ended) return;
        try {
            try {
                event();
            } catch (const vespar::SystemError& e) {
                program.ReportSystemError(e);
            }
        } catch (const ProgramExit& e) {
            end(e.code);
            return;
        }
        if (window) window->Refresh();
    };

    vespar::Program::Window which = vespar::Program::Window::Main;
    boundary([&] { which = program.Enter(CommandLine(argc, argv)); });
    if (ended) return exitCode;

    if (which == vespar::Program::Window::MultiInst) {
        window = std::make_unique<ScreenWindow>(program.multiInst(), boundary);
        auto* layout = new QVBoxLayout(window.get());
        window->AddLabel(layout, "ErrorMess");
        window->AddButton(layout, "Exit");
        window->setFixedSize(window->sizeHint());
    } else {
        boundary([&] { program.LoadMainWindow(); });
        if (ended) return exitCode;
        auto& model = program.mainWindow();
        model.OnClick("#activate", [&program] { program.ActivateMainWindow(); });
        window = std::make_unique<ScreenWindow>(model, boundary);
        auto* layout = new QVBoxLayout(window.get());
        for (const char* name : {"Title", "Counter", "CPULoad", "DLLoad"}) {
            window->AddLabel(layout, name);
        }
        auto* buttons = new QHBoxLayout;
        layout->addLayout(buttons);
        for (const char* name : {"TestS", "Config", "Update", "Reset", "About", "Exit"}) {
            window->AddButton(buttons, name);
        }
        // The core's timers run on the event loop; the registry decides which are due.
        auto* pump = new QTimer(&app);
        QObject::connect(pump, &QTimer::timeout,
                         [&] { boundary([&] { program.timers().RunDue(clock.tickMs()); }); });
        pump->start(10);
    }
    window->Refresh();
    window->show();
    if (ended) return exitCode;
    const int rc = app.exec();
    return ended ? exitCode : rc;
}
