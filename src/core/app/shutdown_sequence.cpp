#include "app/monitor_engine.h"
#include "base/numbers.h"
#include "base/program_exit.h"

namespace vespar {

namespace {

std::string WarningText(int shutType) {
    switch (shutType) {
        case 1:
            return "The Computer Will Power Off In ";
        case 2:
            return "The Computer Will Reboot In ";
        case 3:
            return "The Computer Will Shutdown In ";
        case 4:
            return "Vespar Will Close In ";
        case 5:
            return "The Computer Will Hibernate In ";
        case 6:
            return "The Computer Will Standby In ";
        case 7:
            return "The Computer Will Log Off In ";
        default:
            return "";
    }
}

}  // namespace

void MonitorEngine::EndProgram() {
    rt_.trayIconShown = false;
    throw ProgramExit{0};
}

void MonitorEngine::ShutdownTick() {
    const Configuration& c = rt_.config;
    if (rt_.stateSeconds == 0 && c.NoWarn == 1) {
        host_.ShowMainWindow();
        host_.SetTrayState("Shutdown");
    }
    if (rt_.testMode) {
        TestEnding();
        return;
    }
    if (rt_.stateSeconds == 0 && !rt_.unconfigured) host_.WriteLogEntry("Enter", rt_.shutTypeName);
    for (const char* name : {main_window::kConfig, main_window::kAbout, main_window::kTestS,
                             main_window::kExit, main_window::kUpdate}) {
        main_.control(name).enabled = false;
    }
    if (c.NoWarn == 1) {
        Control& cpuLoad = main_.control(main_window::kCPULoad);
        cpuLoad.foreColor = kWhite;
        cpuLoad.backColor = kOrange;
        cpuLoad.caption.clear();
        Control& counter = main_.control(main_window::kCounter);
        counter.foreColor = kWhite;
        counter.backColor = kOrange;
        counter.bold = true;
        counter.caption = WarningText(c.ShutType) + NumberText(c.ShutTime - rt_.stateSeconds) + "s";
        main_.control(main_window::kDLLoad).caption.clear();
    }
    const bool entitled = Entitled();
    Control& reset = main_.control(main_window::kReset);
    if (entitled) {
        reset.caption = "&Cancel";
        reset.tooltip = "Cancel " + rt_.programTitle + " " + rt_.shutTypeName;
    } else {
        reset.enabled = false;
    }
    for (const char* name :
         {main_window::kMPopUpAbout, main_window::kMPopUpConfig, main_window::kMPopUpMin,
          main_window::kMPopUpRestore, main_window::kMPopUpTest, main_window::kMPopUpUpdate,
          main_window::kMPopUpExit}) {
        main_.control(name).enabled = false;
    }
    main_.control(main_window::kMPopUpReset).visible = false;
    if (entitled) main_.control(main_window::kMPopUpCancel).visible = true;

    if (rt_.stateSeconds >= c.ShutTime || c.NoWarn == 2) {
        CarryOutAction();
    } else if (c.LogLevel == 3) {
        host_.WriteLogEntry(rt_.shutTypeName, "");
    }
    rt_.stateSeconds += 1;
}

void MonitorEngine::CarryOutAction() {
    const Configuration& c = rt_.config;
    const int type = c.ShutType;
    const std::string name = rt_.shutTypeName;
    const bool forced = c.ForceS == 2 || st_.forcedTrigger == 1;
    const bool normal = c.ForceS == 1 && st_.forcedTrigger == 0;
    const bool exitType = type == 1 || type == 2 || type == 3 || type == 7;
    const bool suspendType = type == 5 || type == 6;

    std::string event = c.NoWarn == 2 ? "Silent" : "Start";
    if (forced) event += "(F)";
    if (exitType) host_.WriteLogEntry(event, name);
    if (rt_.cmdSwitch == 0 && exitType && (forced || normal)) {
        std::int32_t flags = type == 1   ? kPowerOffFlags
                             : type == 2 ? kRebootFlags
                             : type == 3 ? kShutdownFlags
                                         : kLogOffFlags;
        if (forced) flags |= kForceFlag;
        actions_.ShutdownSystem(flags);
    }
    if (type == 4 || suspendType) host_.WriteLogEntry("Start", name);
    if (rt_.cmdSwitch > 0) {
        host_.WriteLogEntry("Simulate", name);
        ctx_.dialogs.Show(MessageBox{rt_.programTitle + " Simulate " + name, "Test Real " + name,
                                     Icon::None, Buttons::Ok, 0});
    }
    if (suspendType || type == 7) ReturnToMonitoring();
    if (rt_.cmdSwitch == 0 && suspendType) {
        // A refused sleep counts as made: monitoring goes on as after a return.
        const bool slept = type == 5 ? actions_.HibernateSystem() : actions_.StandbySystem();
        if (!slept) {
            host_.WriteLogEntry("Refused", name);
            host_.WriteLogText(actions_.Refusal());
        }
    }
    if (type >= 1 && type <= 4) host_.WriteLogEntry("Close", name);
    if (suspendType) {
        host_.WriteLogEntry("Restart", name);
        host_.WriteLogEntry("----------", "----------");
        host_.WriteLogEntry("----------", "----------");
    }
    if (exitType || type == 4) EndProgram();
}

void MonitorEngine::TestEnding() {
    if (!rt_.unconfigured) host_.WriteLogEntry("Simulate", rt_.shutTypeName);
    const int timeout = rt_.cmdSwitch > 0 ? 3 : host_.IsAdmin() ? 600 : 30;
    MsgBoxTimed("Test " + rt_.shutTypeName, timeout, rt_.programTitle + " Test");
    rt_.autoMinimiseArmed = false;
    InitialiseMonitor();
    host_.ShowStatus();
    host_.SetTrayState("Activate");
    main_.control(main_window::kMPopUpAbout).enabled = true;
    if (Entitled()) main_.control(main_window::kMPopUpConfig).enabled = true;
    main_.control(main_window::kMPopUpUpdate).enabled = true;
}

void MonitorEngine::MsgBoxTimed(const std::string& prompt, int timeoutSeconds,
                                const std::string& title) {
    // The dialogs port closes the box itself; a zero time-out closes after 5 seconds.
    ctx_.dialogs.Show(MessageBox{title, prompt, Icon::None, Buttons::Ok,
                                 timeoutSeconds > 0 ? timeoutSeconds : 5});
}

void MonitorEngine::SetResetButton() {
    Control& reset = main_.control(main_window::kReset);
    reset.caption = "&Reset";
    reset.tooltip = "Reset " + rt_.programTitle;
    main_.control(main_window::kMPopUpReset).visible = true;
    main_.control(main_window::kMPopUpCancel).visible = false;
}

void MonitorEngine::Test() {
    if (rt_.unconfigured || rt_.portFailed) return;
    InitialiseMonitor();
    rt_.testMode = true;
    st_.cpuIdleLimit = 5;
    st_.delayLimit = 7;
    st_.dlIdleLimit = 5;
    st_.keyIdleLimit = 5;
    st_.commsLostLimit = 5;
    rt_.stateSeconds = 2;
    rt_.autoMinimiseArmed = false;
    if (!rt_.unconfigured) host_.WriteLogEntry("Enter", "Test");
    host_.ShowStatus();
    SetResetButton();
    main_.caption = rt_.programTitle + " - Test Mode";
    host_.DisableForTest();
    host_.SetTrayState("Activate");
    rt_.pendingMessage = "<QZT000>";
    if (rt_.config.CMain == 1) host_.SendPendingMessage();
}

void MonitorEngine::Reset() {
    host_.WriteLogEntry("Reset", StateWord(rt_));
    ReturnToMonitoring();
    rt_.pendingMessage = "<QZC000>";
    if (rt_.config.CMain == 1) host_.SendPendingMessage();
}

void MonitorEngine::ReturnToMonitoring() {
    SetResetButton();
    for (const char* name : {main_window::kMPopUpAbout, main_window::kMPopUpMin,
                             main_window::kMPopUpRestore, main_window::kMPopUpUpdate}) {
        main_.control(name).enabled = true;
    }
    if (Entitled()) {
        for (const char* name :
             {main_window::kMPopUpConfig, main_window::kMPopUpTest, main_window::kMPopUpExit}) {
            main_.control(name).enabled = true;
        }
    }
    host_.ResizeHandling();
    host_.SetTrayState("Activate");
    rt_.autoMinimiseArmed =
        rt_.monitorState == MonitorState::Shutdown && !rt_.testMode && rt_.cmdSwitch != 1;
    InitialiseMonitor();
    host_.ShowStatus();
}

}  // namespace vespar
