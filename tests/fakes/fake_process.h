#pragma once

#include <string>
#include <vector>

#include "base/instance_guard.h"
#include "base/process_control.h"

namespace vespar::test {

// The one-instance lock, held elsewhere or not, recording the names asked for.
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

}  // namespace vespar::test
