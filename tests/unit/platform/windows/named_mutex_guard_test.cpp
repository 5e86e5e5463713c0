#include "platform/windows/named_mutex_guard.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace vespar::windows_platform {
namespace {

// Every test process shares one wineserver: a name of its own keeps parallel runs apart.
std::string UniqueName(const char* base) {
    return std::string("Vespar-") + base + "-" + std::to_string(GetCurrentProcessId());
}

// Runs the probe below in a second process of this test program; true when the probe saw the
// guard answer as expected.
bool ProbeInOtherProcess(const std::string& name, bool expectRunning) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    SetEnvironmentVariableA("VESPAR_MUTEX_PROBE", name.c_str());
    SetEnvironmentVariableA("VESPAR_MUTEX_EXPECT", expectRunning ? "1" : "0");
    std::string command = std::string("\"") + self + "\" --gtest_filter=NamedMutexProbe.*";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &process);
    SetEnvironmentVariableA("VESPAR_MUTEX_PROBE", nullptr);
    if (started == 0) return false;
    WaitForSingleObject(process.hProcess, 60'000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0;
}

// The other process's side: only runs when started by ProbeInOtherProcess.
TEST(NamedMutexProbe, AnswersAsExpected) {
    const char* name = std::getenv("VESPAR_MUTEX_PROBE");
    if (name == nullptr) GTEST_SKIP() << "started by NamedMutexGuard tests only";
    NamedMutexGuard guard;
    EXPECT_EQ(guard.AlreadyRunning(name), std::string(std::getenv("VESPAR_MUTEX_EXPECT")) == "1");
}

TEST(NamedMutexGuard, SecondHolderIsRefusedInThisAndAnotherProcessUntilTheFirstEnds) {
    const std::string name = UniqueName("guard");
    {
        NamedMutexGuard first;
        EXPECT_FALSE(first.AlreadyRunning(name));
        EXPECT_FALSE(first.AlreadyRunning(name));  // asking again keeps the mutex
        EXPECT_TRUE(NamedMutexGuard().AlreadyRunning(name));
        EXPECT_FALSE(NamedMutexGuard().AlreadyRunning(UniqueName("other")));
        EXPECT_TRUE(ProbeInOtherProcess(name, true));
    }
    EXPECT_TRUE(ProbeInOtherProcess(name, false));
}

}  // namespace
}  // namespace vespar::windows_platform
