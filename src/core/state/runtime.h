#pragma once

#include <string>

#include "base/clock.h"
#include "state/configuration.h"
#include "state/monitor_state.h"

namespace vespar {

// Program-wide runtime state, owned by Program and passed by reference to the parts that
// read it. Booleans of the stored formats are plain bools here.
struct Runtime {
    Configuration config;
    // The settings as last read from the file; test switches shorten delays in config only.
    Configuration savedConfig;
    std::string configSummary;

    // Command line.
    int cmdSwitch = 0;

    // Shared texts.
    std::string programTitle = "Vespar";
    std::string shutTypeName = "Power Off";
    std::string pendingMessage;
    std::string cpuText;
    std::string avCpuText;
    std::string downloadText;
    std::string keyMouseText;
    std::string commsText;
    std::string logLineBuffer;  // the last log line built, kept between entries

    // Engine.
    MonitorState monitorState = MonitorState::Initialise;
    float stateSeconds = 0;
    int tickPhase = 2;
    int winVersion = 2;
    bool unconfigured = false;
    bool portFailed = false;
    bool childFormOpen = false;
    bool testMode = false;
    int aboutTimeout = 60;
    int configTimeout = 30;
    bool configSaved = false;

    // Main window.
    bool autoMinimiseArmed = true;
    bool minimiseToggled = false;
    bool centreOnShow = false;
    bool updateBusy = false;
    bool manualUpdate = false;
    LocalTime updateCheckAt;

    // Tray icon (drawn by the front-end).
    bool trayIconShown = false;
    std::string trayState;
};

// The state word of the log: "Initialise", "Run" or the shutdown type's name.
inline std::string StateWord(const Runtime& rt) {
    switch (rt.monitorState) {
        case MonitorState::Shutdown:
            return rt.shutTypeName;
        case MonitorState::Run:
            return "Run";
        case MonitorState::Initialise:
            break;
    }
    return "Initialise";
}

}  // namespace vespar
