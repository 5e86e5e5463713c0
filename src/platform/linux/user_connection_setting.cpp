#include "platform/linux/user_connection_setting.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "base/numbers.h"

namespace vespar::linux_platform {
namespace {

std::string Trimmed(std::string text) {
    const auto notSpace = [](char c) { return c != ' ' && c != '\t' && c != '\r'; };
    while (!text.empty() && !notSpace(text.back())) text.pop_back();
    std::size_t start = 0;
    while (start < text.size() && !notSpace(text[start])) ++start;
    return text.substr(start);
}

std::optional<std::filesystem::path> HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return std::filesystem::path(home);
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr || *found->pw_dir == '\0')
        return std::nullopt;
    return std::filesystem::path(found->pw_dir);
}

}  // namespace

UserConnectionSetting::UserConnectionSetting(std::string appName) : appName_(std::move(appName)) {}

std::optional<std::filesystem::path> UserConnectionSetting::SettingsFile() const {
    std::filesystem::path base;
    // A relative XDG_CONFIG_HOME is invalid and is ignored.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && *xdg == '/') {
        base = xdg;
    } else {
        const auto home = HomeFolder();
        if (!home) return std::nullopt;
        base = *home / ".config";
    }
    return base / appName_ / (appName_ + ".conf");
}

int UserConnectionSetting::ReadConnectionSetting() {
    const auto path = SettingsFile();
    if (!path) return 0;
    std::ifstream file(*path);
    if (!file) return 0;
    bool inSetting = false;
    std::string line;
    while (std::getline(file, line)) {
        line = Trimmed(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[') {
            inSetting = line == "[Setting]";
            continue;
        }
        if (!inSetting) continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos || Trimmed(line.substr(0, eq)) != "Connection") continue;
        // A value out of range is as good as none.
        return ToInt32(NumberAtStart(line.substr(eq + 1))).value_or(0);
    }
    return 0;
}

}  // namespace vespar::linux_platform
