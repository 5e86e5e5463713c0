#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "ui/url_opener.h"

namespace vespar::linux_platform {

// Opens web addresses with the desktop's URL handler ("xdg-open"). The handler is not waited
// for, so only a failure to start it is reported; finished ones are reaped on later calls.
class DesktopUrlOpener : public UrlOpener {
  public:
    explicit DesktopUrlOpener(std::string program = "xdg-open");
    ~DesktopUrlOpener() override;
    DesktopUrlOpener(const DesktopUrlOpener&) = delete;
    DesktopUrlOpener& operator=(const DesktopUrlOpener&) = delete;

    int Open(const std::string& url) override;
    // Collects handlers that have ended; the number still running.
    std::size_t Reap();

  private:
    std::string program_;
    std::vector<pid_t> children_;
};

}  // namespace vespar::linux_platform
