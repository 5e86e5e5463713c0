#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "app/monitor_engine.h"
#include "base/numbers.h"
#include "base/text.h"

namespace vespar {

namespace {

// Adds one sample to a ring window (slot 0 = count) and returns the average.
template <typename T>
double AddSample(std::array<T, 32>& window, std::int16_t& pos, int length, T sample) {
    // The window has room for 31 samples whatever the setting says.
    length = std::clamp(length, 1, 31);
    window[0] = static_cast<T>(window[0] + 1);
    pos = static_cast<std::int16_t>(pos + 1);
    if (pos > length) pos = 1;
    if (window[0] > length) window[0] = static_cast<T>(length);
    window[static_cast<std::size_t>(pos)] = sample;
    double sum = 0;
    for (int i = 1; i <= window[0]; ++i) sum += window[static_cast<std::size_t>(i)];
    return sum / window[0];
}

std::string LastChars(const std::string& text, std::size_t n) {
    return text.size() <= n ? text : text.substr(text.size() - n);
}

std::string PercentText(long long value) {
    return LastChars("  " + std::to_string(value), 3) + "%";
}

}  // namespace

void MonitorEngine::MeasureActivity() {
    const Configuration& c = rt_.config;
    st_.cpuIsIdle = st_.keyIsIdle = st_.dlIsIdle = 1;
    rt_.keyMouseText.clear();
    input_.ClearFlags();

    if (c.Key_On == 2) {
        st_.keyIsIdle = 0;
        const bool changed = input_.InDataChanged();
        rt_.keyMouseText =
            std::string(input_.KeysChanged() ? " K" : " .") + (input_.MouseMoved() ? " M" : " .");
        if (!changed) st_.keyIsIdle = 1;
    }

    if (c.CPU_On == 2) {
        st_.cpuIsIdle = 0;
        const std::int32_t load = rt_.winVersion == 1 ? cpu_.Query() : cpu_.Query64();
        if (load < 0 || load > 100) {
            // A failed reading counts as activity; the sampler and the average start afresh
            // (the ring restarts at its first slot, so no old sample is averaged in).
            rt_.cpuText = rt_.avCpuText = "Err ";
            st_.cpuWindow[0] = 0;
            st_.cpuRingPos = 0;
            if (rt_.winVersion == 1) {
                cpu_.Initialize();
            } else {
                cpu_.Initialise64();
            }
        } else {
            const auto sample = static_cast<std::int16_t>(load);
            const double avg = AddSample(st_.cpuWindow, st_.cpuRingPos, c.AvTime, sample);
            if (avg < c.CPULevel) st_.cpuIsIdle = 1;
            rt_.cpuText = PercentText(load);
            rt_.avCpuText = PercentText(static_cast<long long>(std::trunc(avg)));
        }
    }

    if (c.DL_On == 2) {
        st_.dlIsIdle = 0;
        const std::int32_t rate = download_.DownloadRate();
        ShowInterfaces();
        // The most negative rate has no positive counterpart; it saturates instead.
        const auto sample = static_cast<std::int32_t>(
            std::min<std::int64_t>(std::abs(static_cast<std::int64_t>(rate)), INT32_MAX));
        const double avg = AddSample(st_.dlWindow, st_.dlRingPos, c.AvTimeD, sample);
        if (avg < c.DLRate) st_.dlIsIdle = 1;
        const std::string text =
            avg < 100 ? FormatFixed3(avg) + "KBs" : FormatFixed3(avg / 1024) + "MBs";
        rt_.downloadText = LastChars(" " + text, 9);
    }

    Control& cpuLoad = main_.control(main_window::kCPULoad);
    if (c.CPU_On == 2) {
        cpuLoad.caption = "CPU: " + rt_.avCpuText + "  " + rt_.keyMouseText + " " + rt_.commsText;
    } else if (c.CPU_On == 1) {
        cpuLoad.caption = TrimBlanks(rt_.keyMouseText + " " + rt_.commsText);
    }
    Control& dlLoad = main_.control(main_window::kDLLoad);
    if (c.DL_On == 2) {
        dlLoad.caption = "DL:  " + rt_.downloadText;
    } else if (c.DL_On == 1) {
        dlLoad.caption.clear();
    }
}

void MonitorEngine::RunTick() {
    const Configuration& c = rt_.config;
    MeasureActivity();
    rt_.stateSeconds += 1;
    if (c.CPU_On == 2) ++st_.cpuIdleCount;
    if (c.Del_On == 2) ++st_.delayCount;
    if (c.Key_On == 2) ++st_.keyIdleCount;
    if (c.DL_On == 2) ++st_.dlIdleCount;
    if (c.CMain == 2) st_.commsLostCount += 1;

    if (st_.noDatagramFlag == 0 && c.CMain == 2) {
        st_.commsLostCount = 0;
        rt_.stateSeconds = 0;
    }
    if (st_.cpuIsIdle == 0) {
        st_.cpuIdleCount = 0;
        rt_.stateSeconds = 0;
    }
    if (st_.keyIsIdle == 0) {
        st_.keyIdleCount = 0;
        rt_.stateSeconds = 0;
    }
    if (st_.dlIsIdle == 0) {
        st_.dlIdleCount = 0;
        rt_.stateSeconds = 0;
    }
    if (st_.cpuIdleCount > st_.cpuIdleLimit) st_.cpuIdleCount = st_.cpuIdleLimit;
    if (st_.delayCount > st_.delayLimit) st_.delayCount = st_.delayLimit;
    if (st_.dlIdleCount > st_.dlIdleLimit) st_.dlIdleCount = st_.dlIdleLimit;
    if (st_.keyIdleCount > st_.keyIdleLimit) st_.keyIdleCount = st_.keyIdleLimit;
    if (st_.commsLostCount > st_.commsLostLimit) st_.commsLostCount = st_.commsLostLimit;

    Control& counter = main_.control(main_window::kCounter);
    counter.foreColor = kOrange;
    if (rt_.stateSeconds > 0) {
        counter.caption = "No activity for " + NumberText(rt_.stateSeconds) + "s";
        counter.foreColor = kOrange;
    } else if (rt_.stateSeconds == 0) {
        counter.caption = "Activity";
        counter.foreColor = kDarkGreen;
    }
    if (c.CPU_On == 1 && c.Key_On == 1 && c.DL_On == 1 && (c.Stop_On == 2 || c.Del_On == 2)) {
        counter.caption = "Active";
        counter.foreColor = kDarkGreen;
    }
    if (c.Del_On == 2) {
        counter.caption +=
            " - Delay Time Left: " + std::to_string(st_.delayLimit - st_.delayCount) + "s";
        if (st_.delayCount > st_.longestDelay) counter.foreColor = kOrange;
    }

    if (rt_.stateSeconds == 1) host_.SetTrayState("NoActivity");
    if (rt_.stateSeconds == 0) host_.SetTrayState("Activity");

    const LocalTime now = ctx_.clock.now();
    if ((now.hour * 60 + now.minute) * 60 == st_.stopSeconds && c.CMain == 1 && c.Stop_On == 2) {
        st_.forcedTrigger = 1;
    }
    if (c.CMain == 1 && c.Del_On == 2 && st_.delayCount >= st_.delayLimit) st_.forcedTrigger = 1;

    const bool anyCheck = c.CPU_On == 2 || c.Key_On == 2 || c.DL_On == 2 || c.CMain == 2;
    if (st_.commsLostCount >= st_.commsLostLimit && st_.cpuIdleCount >= st_.cpuIdleLimit &&
        st_.keyIdleCount >= st_.keyIdleLimit && st_.dlIdleCount >= st_.dlIdleLimit && anyCheck) {
        rt_.monitorState = MonitorState::Shutdown;
        rt_.stateSeconds = 0;
    } else if (st_.forcedTrigger == 1) {
        rt_.monitorState = MonitorState::Shutdown;
        rt_.stateSeconds = 0;
    } else if (c.LogLevel == 3 && !rt_.unconfigured) {
        host_.WriteLogEntry("Run", "");
    }
    st_.noDatagramFlag = 1.0f;
}

}  // namespace vespar
