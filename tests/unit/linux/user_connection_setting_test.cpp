#include "platform/linux/user_connection_setting.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "fakes/scoped_env.h"
#include "fakes/temp_program_folder.h"
#include "tree_writer.h"

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

    const auto put = [&](const std::string& text) {
        test::Put(config, "Vespar/Vespar.conf", text);
    };
    put("[Other]\r\nConnection=5\r\n[Setting]\r\n; note\r\n Connection = 3 \r\n");
    EXPECT_EQ(setting.ReadConnectionSetting(), 3);

    put("[Other]\nConnection=5\n");  // only in another section
    EXPECT_EQ(setting.ReadConnectionSetting(), 0);

    put("[Setting]\nconnection=4\nConnectionX=6\n");  // keys are exact
    EXPECT_EQ(setting.ReadConnectionSetting(), 0);

    put("[Setting]\nConnection=abc\n");
    EXPECT_EQ(setting.ReadConnectionSetting(), 0);

    put("[Setting]\nConnection=99999999999\n");  // beyond 32 bits
    EXPECT_EQ(setting.ReadConnectionSetting(), 0);

    put("[Setting]\nConnection=-1\n");  // passed on; the list selection copes with it
    EXPECT_EQ(setting.ReadConnectionSetting(), -1);

    // Unreadable: a folder where the file should be.
    std::filesystem::remove(config / "Vespar" / "Vespar.conf");
    std::filesystem::create_directories(config / "Vespar" / "Vespar.conf");
    EXPECT_EQ(setting.ReadConnectionSetting(), 0);
}

TEST(UserConnectionSetting, FallsBackToTheHomeConfigFolder) {
    vespar::test::TempProgramFolder dir;
    ScopedEnv home("HOME", dir.path().c_str());
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        UserConnectionSetting setting;
        EXPECT_EQ(setting.SettingsFile(), dir.path() / ".config" / "Vespar" / "Vespar.conf");
        test::Put(dir.path(), ".config/Vespar/Vespar.conf", "[Setting]\nConnection=2\n");
        EXPECT_EQ(setting.ReadConnectionSetting(), 2);
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "relative/path");  // invalid, so ignored
        UserConnectionSetting setting;
        EXPECT_EQ(setting.ReadConnectionSetting(), 2);
    }
}

}  // namespace
}  // namespace vespar::linux_platform
