#pragma once

#include <filesystem>
#include <vector>

#include "app/system_ports.h"
#include "fakes/fake_power.h"
#include "fakes/fake_sensors.h"
#include "fakes/fake_ui_ports.h"
#include "log/text_viewer.h"

namespace vespar::test {

// Records every file; opens them while `works`.
struct FakeTextViewer : TextViewer {
    std::vector<std::filesystem::path> opened;
    bool works = true;
    bool Open(const std::filesystem::path& file) override {
        opened.push_back(file);
        return works;
    }
};

// Every platform service of the program, faked; ports() hands them to Program.
struct FakeSystemPorts {
    FakeSystemTimes systemTimes;
    FakeNativeCounters nativeCounters;
    FakeVersionSource version;
    FakeInterfaceTable interfaces;
    FakeConnectionSetting connection;
    FakeInputSource input;
    FakePowerActions power;
    FakeGroupMembership groups;
    FakeTextViewer viewer;
    FakeUrlOpener urlOpener;

    SystemPorts ports() {
        return SystemPorts{systemTimes, nativeCounters, version, interfaces, connection,
                           input,       power,          groups,  viewer,     urlOpener};
    }
};

}  // namespace vespar::test
