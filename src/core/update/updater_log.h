#pragma once

#include <string>
#include <vector>

namespace vespar {

// The update check's diagnostic log, switched on by a marker file. Its failures end the
// program, so the file checks behind it live with the program's other fatal checks.
class UpdaterLog {
  public:
    virtual ~UpdaterLog() = default;
    // At the update window's load: the log folder must exist; with the marker present the
    // file is started.
    virtual void Open() = 0;
    // Appends one block of lines, ended by a line end, while the log is switched on.
    virtual void Write(const std::vector<std::string>& lines) = 0;
};

}  // namespace vespar
