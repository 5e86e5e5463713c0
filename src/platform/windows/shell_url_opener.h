#pragma once

#include "ui/url_opener.h"

namespace vespar::windows_platform {

// Opens web addresses with the shell's "open" verb: the user's browser, not waited for.
class ShellUrlOpener : public UrlOpener {
  public:
    int Open(const std::string& url) override;
};

}  // namespace vespar::windows_platform
