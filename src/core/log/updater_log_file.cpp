#include "log/updater_log_file.h"

#include <system_error>

#include "base/dates.h"
#include "base/text.h"
#include "base/text_file.h"
#include "base/version.h"
#include "log/fatal_stop.h"
#include "log/startup_checks.h"

namespace vespar {

namespace {

bool Exists(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::exists(p, ec);
}

}  // namespace

std::filesystem::path UpdaterLogFile::file() const {
    return ResolvePath(ctx_.programDir, "Log\\Updater.log");
}

std::filesystem::path UpdaterLogFile::marker() const {
    return ResolvePath(ctx_.programDir, "Log\\LogOn.txt");
}

void UpdaterLogFile::Fail(const std::string& title, const std::string& firstLine) {
    FatalStop(ctx_, {title,
                     JoinCrLf({firstLine, "This may be a permissions problem.",
                               "The program will now terminate."}),
                     Icon::Exclamation, Buttons::Ok});
}

void UpdaterLogFile::Open() {
    CheckDirectory(ctx_, "log");
    started_ = Exists(marker());
    if (!started_ || Exists(file())) return;
    const std::string header =
        JoinCrLf({"Updater",
                  "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor),
                  "File Created", FormatDateTime(ctx_.clock.now())}) +
        kCrLf;
    if (!WriteNew(file(), header)) {
        Fail("Updater Log File Error", "Unable to create the log file Updater.log.");
    }
}

void UpdaterLogFile::Write(const std::vector<std::string>& lines) {
    if (!started_ || !Exists(marker())) return;
    CheckLogFile(ctx_, "log", "Log\\", "Updater.log");
    if (!AppendToExisting(file(), JoinCrLf(lines) + kCrLf)) {
        Fail("Updater Log File Write Error", "Unable to write to the log file Updater.log.");
    }
}

}  // namespace vespar
