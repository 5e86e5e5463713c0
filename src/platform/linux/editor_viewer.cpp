#include "platform/linux/editor_viewer.h"

#include <utility>

namespace vespar::linux_platform {

EditorViewer::EditorViewer(std::string program) : program_(std::move(program)) {}

bool EditorViewer::Open(const std::filesystem::path& file) {
    return launcher_.Launch(program_, file.string()) == 0;
}

}  // namespace vespar::linux_platform
