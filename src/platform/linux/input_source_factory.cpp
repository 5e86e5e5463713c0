#include "platform/linux/input_source_factory.h"

#include <cstdlib>

#include "platform/linux/dbus_idle_input_source.h"
#include "platform/linux/x11_input_source.h"

namespace vespar::linux_platform {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Nothing to read: every check counts as activity, and the program says why.
class UnreadableInputSource : public InputSource {
  public:
    bool Readable() override { return false; }
    bool CursorPos(std::int32_t&, std::int32_t&) override { return false; }
    std::int16_t AsyncKeyState(int) override { return 0; }
};

}  // namespace

InputSourceOptions InputSourceOptions::FromEnvironment() {
    InputSourceOptions options;
    options.display = Environment("DISPLAY");
    options.wayland =
        !Environment("WAYLAND_DISPLAY").empty() || Environment("XDG_SESSION_TYPE") == "wayland";
    return options;
}

std::unique_ptr<InputSource> OpenInputSource(const InputSourceOptions& options) {
    if (!options.display.empty() && !options.wayland) {
        auto x11 = std::make_unique<X11InputSource>(options.display);
        if (x11->Readable()) return x11;
    }
    for (const auto service : {IdleService::kMutter, IdleService::kScreenSaver}) {
        if (auto source = DbusIdleInputSource::Open(service, options.sessionBus)) return source;
    }
    if (auto source = DbusIdleInputSource::Open(IdleService::kLogind, options.systemBus))
        return source;
    return std::make_unique<UnreadableInputSource>();
}

std::unique_ptr<InputSource> OpenInputSource() {
    return OpenInputSource(InputSourceOptions::FromEnvironment());
}

}  // namespace vespar::linux_platform
