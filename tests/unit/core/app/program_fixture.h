#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/program.h"
#include "base/program_exit.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_network.h"
#include "fakes/fake_system_ports.h"
#include "fakes/scripted_dialogs.h"
#include "fakes/temp_program_folder.h"
#include "log/fatal_stop.h"

namespace vespar::test {

struct FakeGuard : InstanceGuard {
    bool AlreadyRunning(const std::string& name) override {
        asked.push_back(name);
        return heldElsewhere;
    }
    bool heldElsewhere = false;
    std::vector<std::string> asked;
};

struct FakeProcess : ProcessControl {
    void RaisePriority() override { ++raised; }
    int raised = 0;
};

// The whole program on fake platform services and a clock in virtual time, in a temporary
// program folder with the shipped configuration, on a computer at `address` of `net`.
struct ProgramRig {
    ProgramRig(FakeNetwork& net, const char* address) : netPorts(net, address) {}
    void Start(const std::string& commandLine) {
        ASSERT_EQ(program.Enter(commandLine), Program::Window::Main);
        program.LoadMainWindow();
    }
    // Runs until the program ends; false when it is still running after ms.
    bool RunUntilExit(std::int64_t ms) {
        try {
            time.Advance(ms);
        } catch (const ProgramExit&) {
            return true;
        }
        return false;
    }
    std::filesystem::path LogFile() const { return folder.path() / "Log" / "Vespar.log"; }
    std::string Log() const { return folder.ReadFile(LogFile()); }
    const Control& control(const char* name) { return program.mainWindow().control(name); }

    TempProgramFolder folder;
    FakeClock clock;
    ScriptedDialogs dialogs;
    FakeGuard guard;
    FakeProcess process;
    FakeSystemPorts sys;
    FakeNetworkPorts netPorts;
    Program program{clock, dialogs, guard, process, sys.ports(), netPorts.ports(), folder.path()};
    VirtualTime time{clock, program.timers()};
};

struct OwnNetwork {
    FakeNetwork net;
};

// One program alone at 127.0.0.1.
class ProgramTest : public ::testing::Test, public OwnNetwork, public ProgramRig {
  protected:
    ProgramTest() : ProgramRig(net, "127.0.0.1") {}
};

}  // namespace vespar::test
