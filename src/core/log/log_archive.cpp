#include "log/log_archive.h"

#include <cstdio>
#include <system_error>

#include "base/dates.h"
#include "base/text.h"
#include "base/text_file.h"
#include "base/version.h"
#include "log/log_file.h"
#include "log/startup_checks.h"

namespace vespar {

namespace {

// Enough lines to hold more than what program starts write.
constexpr std::size_t kHasDataLines = 9;

std::string TwoDigits(int value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", value % 100);
    return buf;
}

void ShowArchiveFailure(Context& ctx) {
    ctx.dialogs.Show({std::string(kProductName) + " Log File Error",
                      JoinCrLf({"Unable to archive the log file " + ctx.rt.config.LogName + ".",
                                "This may be a permissions problem."}),
                      Icon::Exclamation, Buttons::Ok});
}

std::string VersionLine() {
    return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor);
}

bool Exists(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::exists(p, ec);
}

// Replaces the log by one holding only the reset header; false on failure. The new file takes
// the old one's place in one rename, so a failure never leaves the program without its log.
bool StartNewLog(Context& ctx, const std::filesystem::path& log) {
    std::error_code ec;
    std::filesystem::permissions(log, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ec);
    const std::string header = JoinCrLf({ctx.rt.programTitle + " Log", VersionLine(),
                                         "File Created", FormatDateTime(ctx.clock.now()), "", ""}) +
                               kCrLf;
    return ReplaceAtomically(log, header);
}

}  // namespace

std::string ArchiveStatusText(ArchiveOutcome outcome) {
    switch (outcome) {
        case ArchiveOutcome::Archived:
            return "Log File Archived";
        case ArchiveOutcome::Cleared:
            return "Log File Cleared";
        case ArchiveOutcome::Unchanged:
            break;
    }
    return {};
}

std::string ArchiveFileName(const std::string& logName, const LocalTime& today, int n) {
    const auto dot = logName.find('.');
    const std::string base = logName.substr(0, dot);
    const std::string rest = dot == std::string::npos ? std::string() : logName.substr(dot);
    return base + "_" + TwoDigits(today.year) + TwoDigits(today.month) + TwoDigits(today.day) +
           "_" + std::to_string(n) + rest;
}

ArchiveOutcome ArchiveLog(Context& ctx) {
    const auto& cfg = ctx.rt.config;
    CheckLogDirectory(ctx, "log");
    CheckLogFile(ctx, "log", cfg.LogPath, cfg.LogName);
    const auto log = LogFilePath(ctx);

    const auto lines = ReadLines(log);
    if (!lines) {
        ShowArchiveFailure(ctx);
        return ArchiveOutcome::Unchanged;
    }
    const bool hasData = lines->size() >= kHasDataLines;

    const Answer choice =
        ctx.dialogs.Show({"Archive " + ctx.rt.programTitle + " Log File",
                          JoinCrLf({"Do you want to archive the log file?",
                                    "To Archive the log file and create a new one click Yes",
                                    "To Clear the results log file without archiving it click No",
                                    "Click Cancel to return"}),
                          Icon::Exclamation, Buttons::YesNoCancel});

    ArchiveOutcome outcome = ArchiveOutcome::Unchanged;
    if (choice == Answer::Yes) {
        if (!hasData) {
            ctx.dialogs.Show({ctx.rt.programTitle + " Log File Error",
                              JoinCrLf({"There is no data to archive!", "Log file not archived."}),
                              Icon::Exclamation, Buttons::Ok});
            return ArchiveOutcome::Unchanged;
        }
        const LocalTime today = ctx.clock.now();
        std::filesystem::path target;
        for (int n = 1;; ++n) {
            target =
                ResolvePath(ctx.programDir, cfg.LogPath + ArchiveFileName(cfg.LogName, today, n));
            if (!Exists(target)) break;
        }
        std::error_code ec;
        std::filesystem::copy_file(log, target, std::filesystem::copy_options::overwrite_existing,
                                   ec);
        if (ec) {
            ShowArchiveFailure(ctx);
            return ArchiveOutcome::Unchanged;
        }
        outcome = ArchiveOutcome::Archived;
    } else if (choice == Answer::No) {
        if (hasData && ctx.dialogs.Show({ctx.rt.programTitle + " Create New Log File",
                                         "Are you sure you want to create a new log file?",
                                         Icon::None, Buttons::YesNo}) != Answer::Yes) {
            return ArchiveOutcome::Unchanged;
        }
        outcome = ArchiveOutcome::Cleared;
    } else {
        return ArchiveOutcome::Unchanged;
    }

    if (!StartNewLog(ctx, log)) {
        ShowArchiveFailure(ctx);
        // The copy made stays made; a clear that did not happen is not reported as done.
        if (outcome == ArchiveOutcome::Cleared) return ArchiveOutcome::Unchanged;
    }
    return outcome;
}

void ViewLog(Context& ctx, TextViewer& viewer) {
    const auto& cfg = ctx.rt.config;
    if (cfg.LogLevel <= 1) {
        ctx.dialogs.Show(
            {ctx.rt.programTitle + " Log File Error",
             JoinCrLf({"Logging is set to None. There", "is no information to display."}),
             Icon::Information, Buttons::Ok});
        return;
    }
    CheckLogDirectory(ctx, "log");
    CheckLogFile(ctx, "log", cfg.LogPath, cfg.LogName);
    if (!viewer.Open(LogFilePath(ctx))) {
        ctx.dialogs.Show({std::string(kProductName) + " Log File Error",
                          JoinCrLf({"Unable to run Notepad", "Check that it exists and",
                                    "is working properly."}),
                          Icon::Exclamation, Buttons::Ok});
    }
}

}  // namespace vespar
