#include "platform/linux/proc_stat_times.h"

#include <unistd.h>

#include <array>
#include <charconv>
#include <fstream>
#include <sstream>
#include <string>

namespace vespar::linux_platform {
namespace {

constexpr std::uint64_t kUnitsPerSecond = 10'000'000;  // 100-ns units

// Split so that large tick counts (many processors, long uptimes) do not overflow.
std::int64_t TicksToUnits(std::uint64_t ticks, std::uint64_t hz) {
    const std::uint64_t units =
        (ticks / hz) * kUnitsPerSecond + (ticks % hz) * kUnitsPerSecond / hz;
    return static_cast<std::int64_t>(units);
}

// user nice system idle iowait irq softirq steal; older kernels give fewer than eight.
enum Field { kUser, kNice, kSystem, kIdle, kIowait, kIrq, kSoftirq, kSteal, kFieldCount };
constexpr int kMinimumFields = kIdle + 1;

bool ParseCpuLine(const std::string& line, std::array<std::uint64_t, kFieldCount>& fields) {
    std::istringstream in(line);
    std::string label;
    in >> label;
    if (label != "cpu") return false;
    fields.fill(0);
    int count = 0;
    std::string token;
    while (count < kFieldCount && in >> token) {
        const char* first = token.data();
        const char* last = first + token.size();
        auto [end, ec] = std::from_chars(first, last, fields[count]);
        if (ec != std::errc() || end != last) return false;
        ++count;
    }
    return count >= kMinimumFields;
}

}  // namespace

ProcStatTimes::ProcStatTimes(std::filesystem::path root)
    : statFile_(std::move(root) / "proc" / "stat"), ticksPerSecond_(sysconf(_SC_CLK_TCK)) {}

bool ProcStatTimes::Read(std::int64_t& idle, std::int64_t& kernel, std::int64_t& user) {
    if (ticksPerSecond_ <= 0) return false;
    std::ifstream file(statFile_);
    if (!file) return false;
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("cpu", 0) != 0) continue;
        // The aggregate line comes first; a malformed one is not replaced by a per-cpu line.
        std::array<std::uint64_t, kFieldCount> f{};
        if (!ParseCpuLine(line, f)) return false;
        const auto hz = static_cast<std::uint64_t>(ticksPerSecond_);
        const std::uint64_t idleTicks = f[kIdle] + f[kIowait];
        idle = TicksToUnits(idleTicks, hz);
        kernel = TicksToUnits(f[kSystem] + f[kIrq] + f[kSoftirq] + idleTicks, hz);
        user = TicksToUnits(f[kUser] + f[kNice] + f[kSteal], hz);
        return true;
    }
    return false;
}

}  // namespace vespar::linux_platform
