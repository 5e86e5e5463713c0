#include "log/log_entry.h"

#include "base/dates.h"
#include "base/numbers.h"
#include "base/text.h"
#include "log/log_file.h"

namespace vespar {

std::string BuildLogLine(const Runtime& rt, const LocalTime& now, const std::string& event,
                         const std::string& state) {
    const Configuration& c = rt.config;
    std::string line = FormatTime(now) + ", " + PadRightCut((rt.testMode ? "*" : " ") + event, 10) +
                       ", " + PadRightCut(state, 10) +
                       ", Count:" + PadLeftRight(NumberText(rt.stateSeconds), 5);
    if (c.LogLevel == 3) {
        if (c.CPU_On == 2) line += ", CPU:" + rt.cpuText + ", Av CPU:" + rt.avCpuText;
        if (c.DL_On == 2) line += ", DL: " + rt.downloadText;
        if (c.Key_On == 2) line += "," + rt.keyMouseText;
        if (c.IPAdd.size() > 3) line += " " + rt.commsText;
    }
    return line;
}

void WriteLogEntry(Context& ctx, const std::string& event, const std::string& state) {
    Runtime& rt = ctx.rt;
    if (rt.config.LogLevel <= 1) return;
    if (event.empty() && state.empty()) {
        rt.logLineBuffer += kCrLf;
    } else {
        rt.logLineBuffer.clear();
        const LocalTime now = ctx.clock.now();
        if (FormatTime(now) == "00:00:00") {
            rt.logLineBuffer = std::string(kCrLf) + FormatDate(now) + kCrLf + "---------" + kCrLf;
        }
        rt.logLineBuffer += BuildLogLine(rt, ctx.clock.now(), event, state);
    }
    AppendLogText(ctx, rt.logLineBuffer);
}

}  // namespace vespar
