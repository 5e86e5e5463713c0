#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "base/system_error.h"

namespace vespar::test {

// The system error the call raises; a test failure when it raises none.
inline SystemError Raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const SystemError& e) {
        return e;
    }
    ADD_FAILURE() << "no SystemError raised";
    return SystemError(0, "", "");
}

}  // namespace vespar::test
