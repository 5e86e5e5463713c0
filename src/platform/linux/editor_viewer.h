#pragma once

#include <filesystem>
#include <string>

#include "log/text_viewer.h"
#include "platform/linux/detached_launcher.h"

namespace vespar::linux_platform {

// Opens a file with the desktop's preferred application ("xdg-open"), which needs no
// terminal. The viewer is not waited for; finished ones are reaped on later calls.
class EditorViewer : public TextViewer {
  public:
    explicit EditorViewer(std::string program = "xdg-open");

    bool Open(const std::filesystem::path& file) override;
    // Collects viewers that have ended; the number still running.
    std::size_t Reap() { return launcher_.Reap(); }

  private:
    std::string program_;
    DetachedLauncher launcher_;
};

}  // namespace vespar::linux_platform
