#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/linux/idle_time_taps.h"
#include "sensors/input_source.h"

struct sd_bus;

namespace vespar::linux_platform {

// Where the desktop keeps the time since the user's last input.
enum class IdleService {
    kMutter,       // org.gnome.Mutter.IdleMonitor on the session bus
    kScreenSaver,  // org.freedesktop.ScreenSaver on the session bus
    kLogind,       // logind's idle hint of this session, on the system bus
};

struct SdBusCloser {
    void operator()(sd_bus* bus) const;
};
using SdBusPtr = std::unique_ptr<sd_bus, SdBusCloser>;

// Keyboard and mouse where no X server can be asked (a Wayland session): only the desktop's
// idle time over D-Bus. There is no pointer position and no key state; input since the
// previous sweep of codes 0 to 255 shows as a tap code (see IdleTimeTaps). A failed read
// makes the source unreadable until a read succeeds again.
class DbusIdleInputSource : public InputSource {
  public:
    // Connects to the bus at busAddress (empty: the user's session bus, or the system bus
    // for logind) and asks once; nullptr when the service does not answer.
    static std::unique_ptr<DbusIdleInputSource> Open(IdleService service,
                                                     const std::string& busAddress = "");
    ~DbusIdleInputSource() override;
    DbusIdleInputSource(const DbusIdleInputSource&) = delete;
    DbusIdleInputSource& operator=(const DbusIdleInputSource&) = delete;

    bool Readable() override { return readable_; }
    bool CursorPos(std::int32_t& x, std::int32_t& y) override;
    std::int16_t AsyncKeyState(int code) override;

    IdleService Service() const { return service_; }
    // The time since the last input, as the service gives it now.
    std::optional<std::chrono::milliseconds> ReadIdle();

  private:
    DbusIdleInputSource(IdleService service, SdBusPtr bus);
    void Sweep();

    IdleService service_;
    SdBusPtr bus_;
    bool readable_ = true;
    int tapCode_ = 0;
    int lastCode_ = 255;  // the first code asked starts a sweep
    IdleTimeTaps taps_;
};

}  // namespace vespar::linux_platform
