#pragma once

#include <string>

#include "platform/linux/detached_launcher.h"
#include "ui/url_opener.h"

namespace vespar::linux_platform {

// Opens web addresses with the desktop's URL handler ("xdg-open"). The handler is not waited
// for, so only a failure to start it is reported; finished ones are reaped on later calls.
class DesktopUrlOpener : public UrlOpener {
  public:
    explicit DesktopUrlOpener(std::string program = "xdg-open");

    int Open(const std::string& url) override;
    // Collects handlers that have ended; the number still running.
    std::size_t Reap() { return launcher_.Reap(); }

  private:
    std::string program_;
    DetachedLauncher launcher_;
};

}  // namespace vespar::linux_platform
