#include <cstdlib>
#include <memory>

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
#include "platform/platform.h"

namespace vespar {
namespace {

using namespace linux_platform;

// The power actions talk to logind on the system bus. VESPAR_LOGIND_BUS points them at
// another bus instead, so that the real program can be tested against a mock logind without
// any chance of switching the test machine off.
std::unique_ptr<LogindPowerActions> OpenPowerActions() {
    if (const char* bus = std::getenv("VESPAR_LOGIND_BUS"); bus != nullptr) {
        return std::make_unique<LogindPowerActions>(bus);
    }
    return std::make_unique<LogindPowerActions>();
}

class LinuxPlatform final : public Platform {
  public:
    SystemPorts Ports() override {
        return SystemPorts{systemTimes_, nativeCounters_, version_, interfaces_, connection_,
                           *input_,      *power_,         groups_,  viewer_,     urlOpener_};
    }
    InstanceGuard& Guard() override { return guard_; }
    ProcessControl& Process() override { return priority_; }

  private:
    LockFileGuard guard_;
    ProcessPriority priority_;
    ProcStatTimes systemTimes_;
    UnavailableNativeCounters nativeCounters_;
    LinuxVersion version_;
    ProcNetDevTable interfaces_;
    UserConnectionSetting connection_;
    std::unique_ptr<InputSource> input_ = OpenInputSource();
    std::unique_ptr<LogindPowerActions> power_ = OpenPowerActions();
    AdminGroups groups_;
    EditorViewer viewer_;
    DesktopUrlOpener urlOpener_;
};

}  // namespace

std::unique_ptr<Platform> OpenPlatform() { return std::make_unique<LinuxPlatform>(); }

}  // namespace vespar
