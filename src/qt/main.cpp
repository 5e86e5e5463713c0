// The Linux executable: a Qt event loop around the portable core.

#include <QApplication>
#include <QDir>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/program.h"
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
#include "qt/front_end.h"
#include "qt/qt_clock.h"
#include "qt/qt_dialogs.h"

namespace {

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

    vespar::qt::FrontEnd frontEnd(program, clock);
    if (!frontEnd.Start(CommandLine(argc, argv))) return frontEnd.exitCode();
    frontEnd.StartTimers();
    const int rc = app.exec();
    return frontEnd.ended() ? frontEnd.exitCode() : rc;
}
