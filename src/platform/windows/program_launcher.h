#pragma once

#include <string>

#include "log/text_viewer.h"

namespace vespar::windows_platform {

// Starts a program by its command line without waiting for it; true when it was started.
bool StartProgram(const std::string& commandLine);

// Shows a text file in Notepad.
class NotepadViewer : public TextViewer {
  public:
    explicit NotepadViewer(std::string program = "notepad.exe") : program_(std::move(program)) {}
    bool Open(const std::filesystem::path& file) override;

  private:
    std::string program_;
};

}  // namespace vespar::windows_platform
