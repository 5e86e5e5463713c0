#pragma once

#include <filesystem>

#include "state/context.h"
#include "update/updater_log.h"

namespace vespar {

// Log/Updater.log, written while the marker Log/LogOn.txt exists. A log that cannot be
// created or written, or that vanished during a check, ends the program with its message.
class UpdaterLogFile : public UpdaterLog {
  public:
    explicit UpdaterLogFile(Context& ctx) : ctx_(ctx) {}

    void Open() override;
    void Write(const std::vector<std::string>& lines) override;

    std::filesystem::path file() const;
    std::filesystem::path marker() const;

  private:
    [[noreturn]] void Fail(const std::string& title, const std::string& firstLine);

    Context& ctx_;
    // Started at this check's load; a marker laid down later waits for the next check.
    bool started_ = false;
};

}  // namespace vespar
