#pragma once

#include "log/text_viewer.h"
#include "sensors/connection_setting.h"
#include "sensors/input_source.h"
#include "sensors/interface_table.h"
#include "sensors/native_counters.h"
#include "sensors/system_times.h"
#include "sensors/version_source.h"
#include "system/group_membership.h"
#include "system/power_actions.h"
#include "ui/url_opener.h"

namespace vespar {

// The platform services the program watches and acts through, owned by the front-end.
struct SystemPorts {
    SystemTimes& systemTimes;
    NativeCounters& nativeCounters;
    VersionSource& version;
    InterfaceTable& interfaces;
    ConnectionSetting& connection;
    InputSource& input;
    PowerActions& power;
    GroupMembership& groups;
    TextViewer& viewer;
    UrlOpener& urlOpener;
};

}  // namespace vespar
