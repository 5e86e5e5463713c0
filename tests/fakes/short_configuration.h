#pragma once

#include "state/configuration.h"

namespace vespar::test {

// A master with the processor and keyboard checks on, 10-second delays, a 3-second start
// delay and Power Off after a warning, normal (not forced), for users who may not exit.
inline void SetShortConfiguration(Configuration& c) {
    c.CMain = 1;
    c.CPU_On = 2;
    c.CPULevel = 5;
    c.CPUDelay = 10;
    c.Key_On = 2;
    c.KeyDelay = 10;
    c.DL_On = 1;
    c.DLDelay = 10;
    c.DLRate = 1;
    c.Del_On = 1;
    c.DelTime = 60;
    c.Stop_On = 1;
    c.StopTime = 2200;
    c.StartTime = 1;
    c.StartDelay = 3;
    c.ComDelay = 30;
    c.ShutType = 1;
    c.ShutTime = 5;
    c.NoWarn = 1;
    c.ForceS = 1;
    c.UserExitA = 1;
    c.LogLevel = 2;
    c.AvTime = 3;
    c.AvTimeD = 3;
    c.UpEnable = 1;
}

}  // namespace vespar::test
