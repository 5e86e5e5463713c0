#include "platform/linux/proc_stat_times.h"

#include <unistd.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/kernel_text.h"

namespace vespar::linux_platform {
namespace {

constexpr std::uint64_t kUnitsPerSecond = 10'000'000;  // 100-ns units

constexpr std::uint64_t kMaxUnits = static_cast<std::uint64_t>(INT64_MAX);

// The sum of tick counts, or nothing when it does not fit 64 bits.
std::optional<std::uint64_t> SumTicks(std::initializer_list<std::uint64_t> ticks) {
    std::uint64_t sum = 0;
    for (const auto t : ticks) {
        if (t > UINT64_MAX - sum) return std::nullopt;
        sum += t;
    }
    return sum;
}

// Ticks as 100-ns units, split so that long uptimes on many processors stay exact; nothing
// when the count does not fit a signed 64-bit value.
std::optional<std::int64_t> TicksToUnits(std::optional<std::uint64_t> ticks, std::uint64_t hz) {
    if (!ticks) return std::nullopt;
    const std::uint64_t seconds = *ticks / hz;
    if (seconds > kMaxUnits / kUnitsPerSecond) return std::nullopt;
    // hz is far below 2^40, so the remainder's product cannot overflow.
    const std::uint64_t units = seconds * kUnitsPerSecond + (*ticks % hz) * kUnitsPerSecond / hz;
    if (units > kMaxUnits) return std::nullopt;
    return static_cast<std::int64_t>(units);
}

// user nice system idle iowait irq softirq steal; older kernels give fewer than eight.
enum Field { kUser, kNice, kSystem, kIdle, kIowait, kIrq, kSoftirq, kSteal, kFieldCount };
constexpr int kMinimumFields = kIdle + 1;

bool ParseCpuLine(std::string_view line, std::array<std::uint64_t, kFieldCount>& fields) {
    if (NextField(line) != "cpu") return false;
    fields.fill(0);
    int count = 0;
    for (std::string_view token; count < kFieldCount && !(token = NextField(line)).empty();) {
        if (!ParseUnsigned(token, fields[count])) return false;
        ++count;
    }
    return count >= kMinimumFields;
}

}  // namespace

ProcStatTimes::ProcStatTimes(std::filesystem::path root)
    : stat_(std::move(root) / "proc" / "stat"), ticksPerSecond_(sysconf(_SC_CLK_TCK)) {}

bool ProcStatTimes::Read(std::int64_t& idle, std::int64_t& kernel, std::int64_t& user) {
    if (ticksPerSecond_ <= 0) return false;
    std::string_view rest;
    if (!stat_.Read(rest)) return false;
    for (std::string_view line; NextLine(rest, line);) {
        if (!line.starts_with("cpu")) continue;
        // The aggregate line comes first; a malformed one is not replaced by a per-cpu line.
        std::array<std::uint64_t, kFieldCount> f{};
        if (!ParseCpuLine(line, f)) return false;
        const auto hz = static_cast<std::uint64_t>(ticksPerSecond_);
        // Counts too large for 64 bits are a failed reading, never a wrapped one.
        const auto idleUnits = TicksToUnits(SumTicks({f[kIdle], f[kIowait]}), hz);
        const auto kernelUnits =
            TicksToUnits(SumTicks({f[kSystem], f[kIrq], f[kSoftirq], f[kIdle], f[kIowait]}), hz);
        const auto userUnits = TicksToUnits(SumTicks({f[kUser], f[kNice], f[kSteal]}), hz);
        if (!idleUnits || !kernelUnits || !userUnits) return false;
        idle = *idleUnits;
        kernel = *kernelUnits;
        user = *userUnits;
        return true;
    }
    return false;
}

}  // namespace vespar::linux_platform
