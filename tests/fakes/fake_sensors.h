#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "sensors/connection_setting.h"
#include "sensors/input_source.h"
#include "sensors/interface_table.h"
#include "sensors/native_counters.h"
#include "sensors/system_times.h"
#include "sensors/version_source.h"

namespace vespar::test {

// System times set by the test; reads fail while ok is false, and so do the next failReads.
struct FakeSystemTimes : SystemTimes {
    bool ok = true;
    int failReads = 0;
    std::int64_t idle = 0, kernel = 0, user = 0;
    bool Read(std::int64_t& i, std::int64_t& k, std::int64_t& u) override {
        if (!ok || failReads > 0) {
            failReads = std::max(0, failReads - 1);
            return false;
        }
        i = idle;
        k = kernel;
        u = user;
        return true;
    }
    void Advance(std::int64_t dIdle, std::int64_t dKernel, std::int64_t dUser) {
        idle += dIdle;
        kernel += dKernel;
        user += dUser;
    }
};

// Native records; an empty optional makes that record's read fail.
struct FakeNativeCounters : NativeCounters {
    std::optional<int> processors = 1;
    std::optional<std::int64_t> timeOfDay = 0;
    std::optional<std::int64_t> idleTime = 0;
    std::vector<char> calls;  // 'b' basic, 't' time of day, 'p' performance
    std::optional<int> ProcessorCount() override { return Call('b', processors); }
    std::optional<std::int64_t> TimeOfDay() override { return Call('t', timeOfDay); }
    std::optional<std::int64_t> IdleProcessTime() override { return Call('p', idleTime); }

  private:
    template <typename T>
    T Call(char call, T answer) {
        calls.push_back(call);
        return answer;
    }
};

struct FakeVersionSource : VersionSource {
    std::optional<PlatformVersion> version = PlatformVersion{2, 10, 0};
    std::optional<PlatformVersion> Read() override { return version; }
};

// Interface rows set by the test; nothing while ok is false.
struct FakeInterfaceTable : InterfaceTable {
    bool ok = true;
    std::vector<InterfaceRow> rows;
    int reads = 0;
    std::optional<std::vector<InterfaceRow>> Read() override {
        ++reads;
        return ok ? std::optional(rows) : std::nullopt;
    }
};

struct FakeConnectionSetting : ConnectionSetting {
    int value = 0;
    int ReadConnectionSetting() override { return value; }
};

// Pointer and keys set by the test. A key in `pressed` is reported once (a press since the
// last poll); a key in `held` is reported at every poll. Nothing is readable while
// `readable` is false, as with a lost display connection.
struct FakeInputSource : InputSource {
    bool readable = true;
    bool cursorOk = true;
    std::int32_t x = 0, y = 0;
    std::array<bool, 256> held{};
    std::array<bool, 256> pressed{};
    bool moved = false;
    int keyPolls = 0;
    bool MovedSincePoll() override { return moved; }
    bool Readable() override { return readable; }
    bool CursorPos(std::int32_t& outX, std::int32_t& outY) override {
        if (!cursorOk) return false;
        outX = x;
        outY = y;
        return true;
    }
    std::int16_t AsyncKeyState(int code) override {
        ++keyPolls;
        if (code < 0 || code > 255) return 0;
        const auto i = static_cast<std::size_t>(code);
        const auto state = static_cast<std::int16_t>((held[i] ? 0x8000 : 0) | (pressed[i] ? 1 : 0));
        pressed[i] = false;
        return state;
    }
    void Press(int code) { pressed[static_cast<std::size_t>(code)] = true; }
    void Hold(int code, bool on = true) { held[static_cast<std::size_t>(code)] = on; }
};

}  // namespace vespar::test
