#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/windows/async_key_input.h"
#include "platform/windows/interface_table_reader.h"
#include "platform/windows/named_mutex_guard.h"
#include "platform/windows/nt_native_counters.h"
#include "platform/windows/process_priority.h"
#include "platform/windows/program_launcher.h"
#include "platform/windows/registry_connection_setting.h"
#include "platform/windows/shell_url_opener.h"
#include "platform/windows/system_times_source.h"
#include "platform/windows/token_admin_groups.h"
#include "platform/windows/win_power_actions.h"
#include "platform/windows/windows_version.h"

namespace vespar {
namespace {

using namespace windows_platform;

// VESPAR_POWER_LOG names a file that receives one line per system action instead of the
// action itself, so that the real program can be tested without any chance of switching the
// test machine off.
PowerCalls OpenPowerCalls() {
    const char* log = std::getenv("VESPAR_POWER_LOG");
    if (log == nullptr || *log == '\0') return PowerCalls::System();
    const std::string file = log;
    return {[file](std::uint32_t flags, std::uint32_t reason) {
                std::ofstream(file, std::ios::app)
                    << "ExitWindowsEx " << flags << ' ' << reason << "\r\n";
                return true;
            },
            [file](bool hibernate, bool forceCritical, bool disableWakeEvents) {
                std::ofstream(file, std::ios::app)
                    << "SetSuspendState " << hibernate << ' ' << forceCritical << ' '
                    << disableWakeEvents << "\r\n";
                return true;
            }};
}

class WindowsPlatform final : public Platform {
  public:
    SystemPorts Ports() override {
        return SystemPorts{systemTimes_, nativeCounters_, version_, interfaces_, connection_,
                           input_,       power_,          groups_,  viewer_,     urlOpener_};
    }
    InstanceGuard& Guard() override { return guard_; }
    ProcessControl& Process() override { return priority_; }

  private:
    NamedMutexGuard guard_;
    ProcessPriority priority_;
    SystemTimesSource systemTimes_;
    NtNativeCounters nativeCounters_;
    WindowsVersion version_;
    InterfaceTableReader interfaces_;
    RegistryConnectionSetting connection_;
    AsyncKeyInput input_;
    WinPowerActions power_{OpenPowerCalls()};
    TokenAdminGroups groups_;
    NotepadViewer viewer_;
    ShellUrlOpener urlOpener_;
};

}  // namespace

std::unique_ptr<Platform> OpenPlatform() { return std::make_unique<WindowsPlatform>(); }

}  // namespace vespar
