#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/windows/program_launcher.h"
#include "platform/windows/registry_connection_setting.h"
#include "platform/windows/shell_url_opener.h"
#include "ui/url_opener.h"

namespace vespar::windows_platform {
namespace {

TEST(RegistryConnectionSetting, ReadsTextOrNumberAndZeroOtherwise) {
    const std::string app = "VesparTest" + std::to_string(GetCurrentProcessId());
    const std::string key = "Software\\" + app + "\\Setting";
    RegistryConnectionSetting setting(app);
    EXPECT_EQ(setting.ReadConnectionSetting(), 0);  // no key

    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    const auto setText = [&](const char* text) {
        RegSetValueExA(handle, "Connection", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                       static_cast<DWORD>(std::strlen(text) + 1));
    };
    const struct {
        const char* text;
        int expected;
    } texts[] = {{"3", 3}, {" 2 ", 2}, {"abc", 0}, {"99999999999", 0}};
    for (const auto& t : texts) {
        setText(t.text);
        EXPECT_EQ(setting.ReadConnectionSetting(), t.expected) << t.text;
    }
    const DWORD number = 4;
    RegSetValueExA(handle, "Connection", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    EXPECT_EQ(setting.ReadConnectionSetting(), 4);
    RegCloseKey(handle);
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + app).c_str());
}

TEST(ProgramLauncher, StartsWithoutWaitingAndReportsAMissingProgram) {
    EXPECT_TRUE(StartProgram("cmd.exe /c exit"));
    EXPECT_FALSE(StartProgram("no-such-program-vespar.exe"));
    EXPECT_FALSE(NotepadViewer("no-such-editor-vespar.exe").Open("C:\\log.txt"));
}

TEST(ShellUrlOpener, AMissingDocumentGivesTheShellsReason) {
    // A file, not a web address: nothing is opened, and the result is below 32.
    const int result = ShellUrlOpener().Open("C:\\no-such-folder-vespar\\page.html");
    EXPECT_LT(result, kUrlOpenLowestSuccess);
    EXPECT_GT(result, 0);
}

}  // namespace
}  // namespace vespar::windows_platform
