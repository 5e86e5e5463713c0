#pragma once

#include <filesystem>

namespace vespar {

// Starts the platform's text viewer on a file without waiting for it.
class TextViewer {
  public:
    virtual ~TextViewer() = default;
    // False when the viewer cannot be started.
    virtual bool Open(const std::filesystem::path& file) = 0;
};

}  // namespace vespar
