#pragma once

#include "state/configuration.h"

namespace vespar::test {

// A master with the processor and keyboard checks on, 10-second delays, a 3-second start
// delay and Power Off after a warning, normal (not forced), for users who may not exit.
inline void SetShortConfiguration(Configuration& c) {
    c.CMain = c.DL_On = c.Del_On = c.Stop_On = c.StartTime = c.ShutType = c.NoWarn = c.ForceS =
        c.UserExitA = c.UpEnable = c.DLRate = 1;
    c.CPU_On = c.Key_On = c.LogLevel = 2;
    c.CPUDelay = c.KeyDelay = c.DLDelay = 10;
    c.StartDelay = c.AvTime = c.AvTimeD = 3;
    c.CPULevel = c.ShutTime = 5;
    c.DelTime = 60;
    c.StopTime = 2200;
    c.ComDelay = 30;
}

}  // namespace vespar::test
