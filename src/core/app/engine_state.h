#pragma once

#include <array>
#include <cstdint>

namespace vespar {

// The monitor engine's counters, limits, verdicts and averaging windows.
struct EngineState {
    std::int16_t cpuIdleCount = 0, cpuIdleLimit = 0;
    std::int16_t dlIdleCount = 0, dlIdleLimit = 0;
    std::int16_t keyIdleCount = 0, keyIdleLimit = 0;
    std::int16_t delayCount = 0, delayLimit = 0;
    float commsLostCount = 0;
    std::int16_t commsLostLimit = 0;
    // 1 after each Run second; the datagram receiver sets 0 on every datagram.
    float noDatagramFlag = 1.0f;
    std::int16_t cpuIsIdle = 1, dlIsIdle = 1, keyIsIdle = 1;
    std::int16_t forcedTrigger = 0;
    double stopSeconds = 0;
    float longestDelay = 0;  // set by the status display

    // Slot 0 holds the sample count, slots 1..31 the samples.
    std::array<std::int16_t, 32> cpuWindow{};
    std::int16_t cpuRingPos = 0;
    std::array<std::int32_t, 32> dlWindow{};
    std::int16_t dlRingPos = 0;
};

}  // namespace vespar
