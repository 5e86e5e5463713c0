#include "log/log_file.h"

#include <system_error>

#include "base/dates.h"
#include "base/text.h"
#include "base/text_file.h"
#include "base/version.h"
#include "log/fatal_stop.h"
#include "log/startup_checks.h"

namespace vespar {

namespace {

std::string VersionLine() {
    return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor);
}

[[noreturn]] void LogFileError(Context& ctx, const std::string& context) {
    FatalStop(ctx,
              {ctx.rt.programTitle + " Log File Error",
               JoinCrLf({"Unable to " + context + ctx.rt.config.LogName + ".",
                         "This may be a permissions problem.", "The program will now terminate."}),
               Icon::Exclamation, Buttons::Ok});
}

bool Exists(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::exists(p, ec);
}

// Rotates when the period of the creation date has ended; false on any failure.
bool Rotate(Context& ctx, const std::filesystem::path& log) {
    const auto lines = ReadLines(log);
    if (!lines || lines->size() < 4) return false;
    const auto created = ParseDateTime((*lines)[3]);
    if (!created) return false;
    const LocalTime now = ctx.clock.now();
    const auto days = DaysFromCivil(now.year, now.month, now.day) -
                      DaysFromCivil(created->year, created->month, created->day);
    const auto months = (now.year * 12 + now.month) - (created->year * 12 + created->month);
    const int level = ctx.rt.config.LogLevel;
    if (!((level == 3 && days != 0) || (level == 2 && months != 0))) return true;

    const std::string& name = ctx.rt.config.LogName;
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    const std::string base = name.substr(0, dot);
    const std::string ext = name.substr(dot + 1);
    const auto dir = log.parent_path();
    const auto genA = dir / (base + "_A." + ext);
    const auto genB = dir / (base + "_B." + ext);
    std::error_code ec;
    if (Exists(genB) && !std::filesystem::remove(genB, ec)) return false;
    if (Exists(genA)) {
        std::filesystem::rename(genA, genB, ec);
        if (ec) return false;
    }
    std::filesystem::rename(log, genA, ec);
    return !ec;
}

}  // namespace

std::filesystem::path LogFilePath(const Context& ctx) {
    return ResolvePath(ctx.programDir, ctx.rt.config.LogPath + ctx.rt.config.LogName);
}

void StartLogFile(Context& ctx) {
    if (ctx.rt.config.LogLevel <= 1) return;
    CheckLogDirectory(ctx, "log");
    const auto log = LogFilePath(ctx);
    if (ctx.rt.config.LogRotate == 2 && Exists(log) && !Rotate(ctx, log)) {
        LogFileError(ctx, "rotate the log file ");
    }
    if (!Exists(log)) {
        const std::string header = JoinCrLf({ctx.rt.programTitle, VersionLine(), "File Created",
                                             FormatDateTime(ctx.clock.now())}) +
                                   kCrLf;
        // Written beside it and renamed: a failed write (a full disk) leaves no empty log
        // that every later start would stumble over.
        if (!ReplaceAtomically(log, header)) LogFileError(ctx, "create the log file ");
    }
}

void AppendLogText(Context& ctx, const std::string& text) {
    CheckLogDirectory(ctx, "log");
    CheckLogFile(ctx, "log", ctx.rt.config.LogPath, ctx.rt.config.LogName);
    if (!AppendToExisting(LogFilePath(ctx), text + kCrLf)) {
        FatalStop(ctx, {ctx.rt.programTitle + " Log File Write Error",
                        JoinCrLf({"Unable to write to the log file " + ctx.rt.config.LogName + ".",
                                  "This may be a permissions problem.",
                                  "The program will now terminate."}),
                        Icon::Exclamation, Buttons::Ok});
    }
}

void WriteLogHeader(Context& ctx, int mode) {
    if (ctx.rt.config.LogLevel <= 1) return;
    std::string text;
    if (mode == 0) {
        text = ctx.rt.programTitle + kCrLf + VersionLine() + kCrLf + FormatDate(ctx.clock.now()) +
               kCrLf;
        if (ctx.rt.config.LogLevel == 3) text += ctx.rt.configSummary + kCrLf;
    } else {
        text = kCrLf + ctx.rt.configSummary + kCrLf;
    }
    AppendLogText(ctx, text);
}

}  // namespace vespar
