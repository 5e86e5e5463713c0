#pragma once

#include <string>

namespace vespar {

// What the master/slave link asks of the rest of the program.
class LinkHost {
  public:
    virtual ~LinkHost() = default;
    // A slave heard from its master: its lost-communications count starts again.
    virtual void HeardFromMaster() = 0;
    // The master's Reset/Cancel and Test, run on a slave as its own buttons run them.
    virtual void ResetCommand() = 0;
    virtual void TestCommand() = 0;
    virtual void WriteLogEntry(const std::string& event, const std::string& state) = 0;
    // Closes the main window and ends the program.
    [[noreturn]] virtual void ExitProgram() = 0;
};

}  // namespace vespar
