#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <cstdint>
#include <functional>
#include <memory>

struct xcb_connection_t;

namespace vespar::qt {

// Hears when a system tray comes or goes on the X server: a tray announces itself with a
// MANAGER message on the root window and leaves by destroying the window that owns the tray
// selection. The watch has a connection of its own, so its event masks never touch the
// toolkit's, and it costs nothing until the server tells it something.
class TrayWatch : public QObject {
  public:
    // displayName empty: $DISPLAY. Without an X server there is nothing to hear.
    TrayWatch(const char* displayName, std::function<void()> changed);
    ~TrayWatch() override;
    TrayWatch(const TrayWatch&) = delete;
    TrayWatch& operator=(const TrayWatch&) = delete;

    bool listening() const { return notifier_ != nullptr; }

  private:
    void Read();
    // Follows the window that owns the tray selection now, if any.
    void WatchOwner();

    std::function<void()> changed_;
    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
    std::uint32_t selection_ = 0;
    std::uint32_t manager_ = 0;
    std::uint32_t owner_ = 0;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace vespar::qt
