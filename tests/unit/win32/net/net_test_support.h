#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

namespace vespar::win32::test {

// Runs this thread's messages until done() holds or the time is up; false on time-out.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    return true;
}

// The front-end's event boundary as the tests see it: counts the events and runs them.
struct CountingSink {
    int events = 0;
    std::function<void(const std::function<void()>&)> sink() {
        return [this](const std::function<void()>& event) {
            ++events;
            event();
        };
    }
};

}  // namespace vespar::win32::test
