#include "platform/windows/program_launcher.h"

#include <windows.h>

#include <vector>

namespace vespar::windows_platform {

bool StartProgram(const std::string& commandLine) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');  // CreateProcessA may write into the command line
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process) == 0)
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool NotepadViewer::Open(const std::filesystem::path& file) {
    // Quoted, so that a log folder with blanks in its name is one argument.
    return StartProgram(program_ + " \"" + file.string() + "\"");
}

}  // namespace vespar::windows_platform
