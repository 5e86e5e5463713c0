#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "log/text_viewer.h"

namespace vespar::linux_platform {

// Opens a file with the desktop's preferred application ("xdg-open"), which needs no
// terminal. The viewer is not waited for; finished ones are reaped on later calls.
class EditorViewer : public TextViewer {
  public:
    explicit EditorViewer(std::string program = "xdg-open");
    ~EditorViewer() override;
    EditorViewer(const EditorViewer&) = delete;
    EditorViewer& operator=(const EditorViewer&) = delete;

    bool Open(const std::filesystem::path& file) override;
    // Collects viewers that have ended; the number still running.
    std::size_t Reap();

  private:
    std::string program_;
    std::vector<pid_t> children_;
};

}  // namespace vespar::linux_platform
