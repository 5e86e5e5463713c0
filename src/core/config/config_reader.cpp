#include "config/config_reader.h"

#include <array>
#include <cstdint>
#include <limits>
#include <optional>

#include "base/dialogs.h"
#include "base/numbers.h"
#include "base/text.h"
#include "base/text_file.h"
#include "log/fatal_stop.h"
#include "log/startup_checks.h"

namespace vespar {

namespace {

enum class Kind { Integer, Long, Text, OldForce, OldUserExit, SlaveRewrite };

struct Key {
    const char* text;
    Kind kind;
    std::int16_t Configuration::*integer = nullptr;
    std::int32_t Configuration::*longValue = nullptr;
    std::string Configuration::*string = nullptr;
};

constexpr Key I(const char* text, std::int16_t Configuration::*field) {
    return {text, Kind::Integer, field, nullptr, nullptr};
}
constexpr Key L(const char* text, std::int32_t Configuration::*field) {
    return {text, Kind::Long, nullptr, field, nullptr};
}
constexpr Key S(const char* text, std::string Configuration::*field) {
    return {text, Kind::Text, nullptr, nullptr, field};
}

using C = Configuration;

// The order in which a line is tested; the slave rewrite sits where it always has.
constexpr std::array kKeys{
    I("AvTime=", &C::AvTime),         I("AvTimeD=", &C::AvTimeD),
    I("CPUDelay=", &C::CPUDelay),     I("ComDelay=", &C::ComDelay),
    Key{"", Kind::SlaveRewrite},      I("CPU_On=", &C::CPU_On),
    I("CPULevel=", &C::CPULevel),     I("CMain=", &C::CMain),
    I("DelTime=", &C::DelTime),       I("Del_On=", &C::Del_On),
    I("DLDelay=", &C::DLDelay),       I("DLRate=", &C::DLRate),
    I("DL_On=", &C::DL_On),           I("DName=", &C::DName),
    Key{"Force=", Kind::OldForce},    S("IPAdd=", &C::IPAdd),
    I("KeyDelay=", &C::KeyDelay),     I("Key_On=", &C::Key_On),
    I("LogLevel=", &C::LogLevel),     S("LogName=", &C::LogName),
    S("LogPath=", &C::LogPath),       I("LogRotate=", &C::LogRotate),
    I("NoWarn=", &C::NoWarn),         L("Port1=", &C::Port1),
    L("Port2=", &C::Port2),           I("RunOnTop=", &C::RunOnTop),
    I("ShutTime=", &C::ShutTime),     I("ShutType=", &C::ShutType),
    I("StartDelay=", &C::StartDelay), I("StartMin=", &C::StartMin),
    I("StartTime=", &C::StartTime),   I("ForceS=", &C::ForceS),
    I("StopTime=", &C::StopTime),     I("Stop_On=", &C::Stop_On),
    I("UpEnable=", &C::UpEnable),     Key{"UserExit=", Kind::OldUserExit},
    I("UserExitA=", &C::UserExitA),
};

constexpr const char* kCpuDelayKey = "CPUDelay=";

bool IsSection(const std::string& line) {
    return line == "[Comms]" || line == "[Run]" || line == "[Shutdown]";
}

// Lays a line out in the summary: short lines two to a row in 25-character columns.
void AddToSummary(std::string& summary, bool& pending, const std::string& line) {
    if (StartsWith(line, "[")) {
        summary += kCrLf;
        summary += kCrLf;
        summary += line;
        pending = false;
    } else if (StartsWith(line, "CMain=")) {
        // the control mode is shown by the title, not the listing
    } else if (line.size() < 24) {
        if (pending) {
            summary += line;
            pending = false;
        } else {
            summary += kCrLf;
            summary += (line + std::string(19, ' ')).substr(0, 25);
            pending = true;
        }
    } else {
        summary += kCrLf;
        summary += line;
        pending = false;
    }
}

std::optional<std::int16_t> Fit16(int value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

}  // namespace

ConfigReadResult ParseConfiguration(const std::vector<std::string>& lines,
                                    const Configuration& previous) {
    ConfigReadResult r;
    r.config = previous;
    r.summary = kConfigSummaryHeader;
    Configuration& c = r.config;
    std::int16_t oldForce = 0;
    std::int16_t oldUserExit = 0;
    bool pending = false;

    for (const std::string& raw : lines) {
        if (raw.empty() || raw[0] == '#') continue;
        std::string line = TrimBlanks(raw);
        for (const Key& key : kKeys) {
            if (key.kind == Kind::SlaveRewrite) {
                if (c.CMain == 2 && StartsWith(line, kCpuDelayKey)) {
                    const std::string value = line.substr(std::string(kCpuDelayKey).size());
                    line = "CommsDelay=" + NumberText(NumberAtStart(value));
                }
                continue;
            }
            if (!StartsWith(line, key.text)) continue;
            const std::string value = line.substr(std::string(key.text).size());
            if (key.kind == Kind::Text) {
                c.*key.string = value;
            } else if (key.kind == Kind::Long) {
                const auto n = ToInt32(NumberAtStart(value));
                if (!n) {
                    r.readError = true;
                    return r;
                }
                c.*key.longValue = *n;
            } else {
                const auto n = ToInt16(NumberAtStart(value));
                if (!n) {
                    r.readError = true;
                    return r;
                }
                if (key.kind == Kind::OldForce) {
                    oldForce = *n;
                } else if (key.kind == Kind::OldUserExit) {
                    oldUserExit = *n;
                } else {
                    c.*key.integer = *n;
                }
            }
            --r.keyCount;
        }
        if (IsSection(line)) --r.sectionCount;
        AddToSummary(r.summary, pending, line);
    }
    r.summary += kCrLf;

    if (c.LogPath.empty()) c.LogPath = "Log\\";
    if (oldForce == 1 || oldForce == 2) {
        c.ForceS = oldForce;
        ++r.keyCount;
    }
    if (oldUserExit != 0) {
        c.UserExitA = oldUserExit == 2 ? 1 : oldUserExit == 1 ? 2 : 0;
        ++r.keyCount;
    }

    // Times of day are stored with 10000 added so they always have five digits.
    if (c.StartTime == 2 && c.StartDelay < 10000) c.StartDelay += 10000;
    const auto stop = Fit16(c.StopTime - 10000);
    if (!stop) {
        r.readError = true;
        return r;
    }
    c.StopTime = *stop;
    if (c.StartTime == 2) c.StartDelay -= 10000;
    return r;
}

void ReadConfiguration(Context& ctx) {
    ctx.rt.configSummary = kConfigSummaryHeader;
    CheckDirectory(ctx, "data");
    CheckRequiredFile(ctx, "configuration", "Data\\", "Vespar.ini");

    const auto lines = ReadLines(ResolvePath(ctx.programDir, "Data\\Vespar.ini"));
    std::optional<ConfigReadResult> read;
    if (lines) read = ParseConfiguration(*lines, ctx.rt.config);
    if (!read || read->readError) {
        FatalStop(ctx, {ctx.rt.programTitle + " Configuration File Read Error",
                        JoinCrLf({"Unable to read the configuration file.",
                                  "This may be a permissions problem.",
                                  "The program will now terminate."}),
                        Icon::Exclamation, Buttons::Ok});
    }
    ctx.rt.config = read->config;
    ctx.rt.configSummary = read->summary;
    if (read->keyCount == 0 && read->sectionCount == 0) return;

    std::string counts;
    if (ctx.rt.cmdSwitch != 0) {
        counts = std::to_string(read->sectionCount) + "Section Errors" + kCrLf +
                 std::to_string(read->keyCount) + "Key Errors" + kCrLf;
    }
    ConfigurationCorrupted(ctx, counts);
}

void ConfigurationCorrupted(Context& ctx, const std::string& prefix) {
    const std::string text = prefix + JoinCrLf({"The configuration file is corrupted.",
                                                "Reinstall the program to restore the file.",
                                                "The program will now terminate."});
    FatalStop(ctx, {ctx.rt.programTitle + " Configuration File Error", text, Icon::Critical,
                    Buttons::Ok});
}

}  // namespace vespar
