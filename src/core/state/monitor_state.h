#pragma once

namespace vespar {

// The engine's state word; the numbers are the ones stored and logged.
enum class MonitorState { Initialise = 0, Run = 1, Shutdown = 2 };

}  // namespace vespar
