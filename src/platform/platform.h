#pragma once

#include <memory>

#include "app/system_ports.h"
#include "base/instance_guard.h"
#include "base/process_control.h"

namespace vespar {

// Every platform service the program needs, owned together for the life of the process.
// Each platform folder defines OpenPlatform; the build chooses the folder.
class Platform {
  public:
    virtual ~Platform() = default;
    virtual SystemPorts Ports() = 0;
    virtual InstanceGuard& Guard() = 0;
    virtual ProcessControl& Process() = 0;
};

// The services of the platform this program was built for.
std::unique_ptr<Platform> OpenPlatform();

}  // namespace vespar
