#pragma once

#include <cstdint>
#include <string>

namespace vespar {

// Every setting, one field per key of Data/Vespar.ini, named like the key. Switches hold
// 1 (off) and 2 (on); times of day hold hh * 100 + mm.
struct Configuration {
    // [Comms]
    std::int16_t CMain = 0;
    std::int16_t ComDelay = 0;
    std::int16_t DName = 0;
    std::string IPAdd;
    std::int32_t Port1 = 0;
    std::int32_t Port2 = 0;
    // [Run]
    std::int16_t AvTime = 0;
    std::int16_t AvTimeD = 0;
    std::int16_t CPUDelay = 0;
    std::int16_t CPULevel = 0;
    std::int16_t CPU_On = 0;
    std::int16_t Del_On = 0;
    std::int16_t DelTime = 0;
    std::int16_t DLDelay = 0;
    std::int16_t DL_On = 0;
    std::int16_t DLRate = 0;
    std::int16_t KeyDelay = 0;
    std::int16_t Key_On = 0;
    std::int16_t LogLevel = 0;
    std::string LogName;
    std::string LogPath;
    std::int16_t LogRotate = 0;
    std::int16_t RunOnTop = 0;
    std::int16_t StartDelay = 0;
    std::int16_t StartMin = 0;
    std::int16_t StartTime = 0;
    std::int16_t StopTime = 0;
    std::int16_t Stop_On = 0;
    std::int16_t UpEnable = 0;
    // [Shutdown]
    std::int16_t ForceS = 0;
    std::int16_t NoWarn = 0;
    std::int16_t ShutTime = 0;
    std::int16_t ShutType = 0;
    std::int16_t UserExitA = 0;

    friend bool operator==(const Configuration&, const Configuration&) = default;
};

}  // namespace vespar
