#include "app/monitor_engine.h"

#include "base/numbers.h"

namespace vespar {

double TimeOfDaySeconds(int hhmm) {
    const std::string digits = "0000" + std::to_string(hhmm);
    const std::string last4 = digits.substr(digits.size() - 4);
    return (NumberAtStart(last4.substr(0, 2)) * 60 + NumberAtStart(last4.substr(2, 2))) * 60;
}

std::string ShutTypeNameOf(int shutType) {
    switch (shutType) {
        case 1:
            return "Power Off";
        case 2:
            return "Reboot";
        case 3:
            return "Shutdown";
        case 4:
            return "Monitor";
        case 5:
            return "Hibernate";
        case 6:
            return "Standby";
        case 7:
            return "Log Off";
        default:
            return "";
    }
}

bool MonitorEngine::Entitled() { return host_.IsAdmin() || rt_.config.UserExitA == 2; }

void MonitorEngine::TimerTick() {
    const Configuration& c = rt_.config;
    if (rt_.tickPhase == 1) {
        const bool paused = rt_.childFormOpen || rt_.unconfigured || rt_.portFailed;
        // Each test sees the state the previous handler left, so Run -> Shutdown happens
        // within one second.
        if (rt_.monitorState == MonitorState::Run && !paused) RunTick();
        if (rt_.monitorState == MonitorState::Initialise && !paused) ActivationTick();
        if (rt_.monitorState == MonitorState::Shutdown && !paused) ShutdownTick();
        rt_.commsText = c.IPAdd.size() > 3 ? "." : "";
        if (c.UpEnable == 2 && c.CMain == 1) host_.CheckUpdateDue(true);
        rt_.tickPhase = 3;
        if (rt_.aboutTimeout < 1 && rt_.childFormOpen) host_.CloseAboutScreen();
        if (rt_.configTimeout < 1 && rt_.childFormOpen) host_.CloseConfigScreen();
    }
    rt_.tickPhase -= 1;
    if (!c.IPAdd.empty() && c.CMain == 1 && !rt_.unconfigured && !rt_.portFailed &&
        (rt_.monitorState == MonitorState::Run ||
         (rt_.monitorState == MonitorState::Initialise && rt_.stateSeconds == 1.0f))) {
        host_.SendPendingMessage();
    }
}

void MonitorEngine::ActivationTick() {
    const Configuration& c = rt_.config;
    rt_.stateSeconds -= 1;
    if (c.StartTime == 1) {
        main_.control(main_window::kCounter).caption =
            "Program Activation In " + NumberText(rt_.stateSeconds) + "s";
    }
    if (rt_.stateSeconds <= 0) {
        rt_.monitorState = MonitorState::Run;
        if (!rt_.unconfigured) host_.WriteLogEntry("Enter", "Run");
        rt_.stateSeconds = 0;
        st_.cpuIdleCount = st_.delayCount = st_.dlIdleCount = st_.keyIdleCount = 0;
        st_.commsLostCount = 0;
        if (rt_.winVersion == 2) cpu_.Initialise64();
        input_.InDataReset();
        download_.DLoadInit();
        ShowInterfaces();
        // A check that is off counts as idle from the start.
        if (c.CPU_On == 1) st_.cpuIdleCount = st_.cpuIdleLimit;
        if (c.Key_On == 1) st_.keyIdleCount = st_.keyIdleLimit;
        if (c.DL_On == 1) st_.dlIdleCount = st_.dlIdleLimit;
        if (c.CMain == 1) st_.commsLostCount = st_.commsLostLimit;
    } else if (c.LogLevel == 3 && !rt_.unconfigured) {
        host_.WriteLogEntry("Inactive", "");
    }
}

void MonitorEngine::InitialiseMonitor() {
    Configuration& c = rt_.config;
    rt_.testMode = false;
    if (Timer* t = ctx_.timers.Find("tmrRefresh")) t->SetEnabled(false);
    rt_.stateSeconds = c.StartDelay;
    st_.cpuIsIdle = 1;
    rt_.monitorState = MonitorState::Initialise;
    const int sw = rt_.cmdSwitch;
    if (sw == 1 || sw == 3 || sw == 4) {
        c.CPUDelay = 6;
        c.KeyDelay = 6;
        c.DLDelay = 8;
        c.DelTime = 7;
        c.ComDelay = 6;
        if (sw == 1 || sw == 4) c.ShutTime = 6;
    }
    rt_.keyMouseText = " . .";
    if (c.StartTime == 2) {
        const LocalTime now = ctx_.clock.now();
        const double left = TimeOfDaySeconds(c.StartDelay) - (now.hour * 60 + now.minute) * 60;
        rt_.stateSeconds = left < 1 ? 1.0f : static_cast<float>(left);
    }
    if (c.Stop_On == 2) {
        st_.stopSeconds = TimeOfDaySeconds(c.StopTime);
        st_.forcedTrigger = 0;
    }
    st_.cpuWindow[0] = 0;
    st_.cpuRingPos = 0;
    rt_.avCpuText = " ...";
    rt_.cpuText = " ...";
    rt_.downloadText = " ........";
    st_.delayLimit = c.DelTime;
    st_.cpuIdleLimit = c.CPUDelay;
    st_.keyIdleLimit = c.KeyDelay;
    st_.dlIdleLimit = c.DLDelay;
    st_.commsLostLimit = c.ComDelay;
    main_.control(main_window::kCPULoad).caption.clear();
    main_.control(main_window::kDLLoad).caption.clear();
    rt_.commsText = ".";
    st_.noDatagramFlag = 1.0f;
    st_.forcedTrigger = 0;
    if (const std::string name = ShutTypeNameOf(c.ShutType); !name.empty()) {
        rt_.shutTypeName = name;
    }

    const Color face = Color::System(Color::Kind::ButtonFace);
    Control& cpuLoad = main_.control(main_window::kCPULoad);
    cpuLoad.backColor = face;
    cpuLoad.foreColor = Color::System(Color::Kind::ButtonText);
    Control& counter = main_.control(main_window::kCounter);
    counter.backColor = face;
    counter.foreColor = kBlue;
    counter.bold = false;
    main_.control(main_window::kDLLoad).backColor = face;

    main_.control(main_window::kAbout).enabled = true;
    main_.control(main_window::kReset).enabled = true;
    if (!rt_.updateBusy) {
        main_.control(main_window::kUpdate).enabled = true;
        main_.control(main_window::kMPopUpUpdate).enabled = true;
    }
    if (!Entitled()) {
        host_.ShowCloseItem(false);
        input_.InDataReset();
        host_.StartLogFile();
        return;
    }
    for (const char* name : {main_window::kTestS, main_window::kConfig, main_window::kExit})
        main_.control(name).enabled = true;
    host_.ShowCloseItem(true);
    for (const char* name :
         {main_window::kMPopUpExit, main_window::kMPopUpTest, main_window::kMPopUpConfig}) {
        main_.control(name).enabled = true;
    }
    input_.InDataReset();
    host_.StartLogFile();
}

void MonitorEngine::ShowInterfaces() {
    if (download_.ListGeneration() == shownInterfaces_) return;
    shownInterfaces_ = download_.ListGeneration();
    Control& netCon = main_.control(main_window::kNetCon);
    netCon.items = download_.Interfaces().items;
    netCon.selection = download_.Interfaces().selection;
}

}  // namespace vespar
