#include "platform/linux/user_connection_setting.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "fakes/scoped_env.h"
#include "fakes/temp_program_folder.h"

namespace vespar::linux_platform {
namespace {

using vespar::test::ScopedEnv;

TEST(UserConnectionSetting, ReadsConnectionFromTheSettingSection) {
    vespar::test::TempProgramFolder dir;
    const auto config = dir.path() / "config";
    ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
    UserConnectionSetting setting;
    ASSERT_EQ(setting.SettingsFile(), config / "Vespar" / "Vespar.conf");

    EXPECT_EQ(setting.ReadConnectionSetting(), 0);  // no file

    // Keys are exact and only those of [Setting] count; a value beyond 32 bits reads as 0, a
    // negative one is passed on (the list selection copes with it).
    const std::pair<const char*, int> files[] = {
        {"[Other]\r\nConnection=5\r\n[Setting]\r\n; note\r\n Connection = 3 \r\n", 3},
        {"[Other]\nConnection=5\n", 0},
        {"[Setting]\nconnection=4\nConnectionX=6\n", 0},
        {"[Setting]\nConnection=abc\n", 0},
        {"[Setting]\nConnection=99999999999\n", 0},
        {"[Setting]\nConnection=-1\n", -1}};
    std::filesystem::create_directories(config / "Vespar");
    for (const auto& [text, value] : files) {
        dir.WriteFile(config / "Vespar" / "Vespar.conf", text);
        EXPECT_EQ(setting.ReadConnectionSetting(), value) << text;
    }

    // Unreadable: a folder where the file should be.
    std::filesystem::remove(config / "Vespar" / "Vespar.conf");
    std::filesystem::create_directories(config / "Vespar" / "Vespar.conf");
    EXPECT_EQ(setting.ReadConnectionSetting(), 0);

    // Without XDG_CONFIG_HOME, or with a relative one (invalid, so ignored): ~/.config.
    const ScopedEnv home("HOME", dir.path().c_str());
    std::filesystem::create_directories(dir.path() / ".config" / "Vespar");
    dir.WriteFile(dir.path() / ".config" / "Vespar" / "Vespar.conf", "[Setting]\nConnection=2\n");
    for (const char* relative : {static_cast<const char*>(nullptr), "relative/path"}) {
        const ScopedEnv other("XDG_CONFIG_HOME", relative);
        UserConnectionSetting fallback;
        EXPECT_EQ(fallback.SettingsFile(), dir.path() / ".config" / "Vespar" / "Vespar.conf");
        EXPECT_EQ(fallback.ReadConnectionSetting(), 2);
    }
}

}  // namespace
}  // namespace vespar::linux_platform
