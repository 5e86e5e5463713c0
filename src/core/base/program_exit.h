#pragma once

namespace vespar {

// Thrown to end the program from deep inside a call (a fatal check, a finished shutdown
// action); the event boundary catches it and stops the event loop.
struct ProgramExit {
    int code = 0;
};

}  // namespace vespar
