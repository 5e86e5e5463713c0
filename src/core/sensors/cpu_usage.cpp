#include "sensors/cpu_usage.h"

#include <cmath>
#include <limits>
#include <optional>

#include "base/numbers.h"

namespace vespar {
namespace {

// The counters are fixed-point values with four decimals (one 100-ns unit is 0.0001 ms).
constexpr double kFixedScale = 10000.0;
// Added to the kernel difference so the total never reaches zero between two close reads.
constexpr std::int64_t kKernelAllowance = 10;

std::int32_t FloorToInt32(double v) {
    const double f = std::floor(v);
    if (!(f >= std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (f > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(f);
}

// a - b and a + b, or nothing when the result does not fit 64 bits: counters that jump
// give a failed reading, never an overflow.
std::optional<std::int64_t> Minus(std::int64_t a, std::int64_t b) {
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    if ((b > 0 && a < kMin + b) || (b < 0 && a > kMax + b)) return std::nullopt;
    return a - b;
}
std::optional<std::int64_t> Plus(std::int64_t a, std::int64_t b) {
    if (b == std::numeric_limits<std::int64_t>::min()) return std::nullopt;
    return Minus(a, -b);
}

// A load is a percentage; anything else comes from counters that ran backwards or jumped.
std::int32_t Checked(std::int32_t load) { return load >= 0 && load <= 100 ? load : -1; }

// 100 * x exactly when it fits 64 bits, else as near as a double gets.
double Hundredfold(std::int64_t x) {
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 100;
    if (x <= kLimit && x >= -kLimit) return static_cast<double>(x * 100);
    return static_cast<double>(x) * 100.0;
}

}  // namespace

std::int16_t CpuUsageSampler::GetVersion() {
    const auto v = version_.Read();
    if (v && v->platformId == 2 && v->major == 5 && v->minor == 0) return 1;
    return 2;
}

void CpuUsageSampler::Reset() {
    idleRef_ = timeRef_ = 0;
    idleOld_ = kernelOld_ = userOld_ = 0;
    idleNew_ = kernelNew_ = userNew_ = 0;
}

void CpuUsageSampler::Initialize() {
    const auto time = native_.TimeOfDay();
    if (!time) return;
    const auto idle = native_.IdleProcessTime();
    if (!idle) return;
    idleRef_ = *idle;
    timeRef_ = *time;
}

std::int32_t CpuUsageSampler::Query() {
    const auto processors = native_.ProcessorCount();
    if (!processors) return -1;
    const auto time = native_.TimeOfDay();
    if (!time) return -1;
    const auto idle = native_.IdleProcessTime();
    if (!idle) return -1;
    // A record claiming no processors cannot give a share; count it as unreadable.
    if (*processors < 1) return -1;

    const auto idleDeltaChecked = Minus(*idle, idleRef_);
    const auto timeDeltaChecked = Minus(*time, timeRef_);
    idleRef_ = *idle;
    timeRef_ = *time;
    if (!idleDeltaChecked || !timeDeltaChecked) return -1;
    const std::int64_t idleDelta = *idleDeltaChecked;
    const std::int64_t timeDelta = *timeDeltaChecked;
    // r in fixed-point units of 0.0001.
    double rUnits;
    if (timeDelta != 0) {
        rUnits = RoundHalfEven(static_cast<double>(idleDelta) / static_cast<double>(timeDelta) *
                               kFixedScale);
    } else {
        rUnits = static_cast<double>(idleDelta);  // idle time in ms, four decimals
    }
    const double r100 = rUnits / 100.0;  // r * 100
    const double v = 100.0 - r100 / *processors + 0.5;
    return Checked(FloorToInt32(RoundHalfEven(v * kFixedScale) / kFixedScale));
}

void CpuUsageSampler::Initialise64() {
    std::int64_t idle = 0, kernel = 0, user = 0;
    if (!times_.Read(idle, kernel, user)) return;
    idleOld_ = idleNew_ = idle;
    kernelOld_ = kernelNew_ = kernel;
    userOld_ = userNew_ = user;
}

std::int32_t CpuUsageSampler::Query64() {
    std::int64_t idle = 0, kernel = 0, user = 0;
    // An unreadable sensor must not look like an idle machine, so it reports failure.
    if (!times_.Read(idle, kernel, user)) return -1;
    idleNew_ = idle;
    kernelNew_ = kernel;
    userNew_ = user;

    const auto idleDiff = Minus(idleNew_, idleOld_);
    const auto kernelMoved = Minus(kernelNew_, kernelOld_);
    const auto kernelDiff = kernelMoved ? Plus(*kernelMoved, kKernelAllowance) : std::nullopt;
    const auto userDiff = Minus(userNew_, userOld_);
    const auto totalDiff = kernelDiff && userDiff ? Plus(*kernelDiff, *userDiff) : std::nullopt;
    const auto busy = totalDiff && idleDiff ? Minus(*totalDiff, *idleDiff) : std::nullopt;

    idleOld_ = idleNew_;
    kernelOld_ = kernelNew_;
    userOld_ = userNew_;

    // Only counters running backwards get here; there is no load to give.
    if (!busy || *totalDiff == 0) return -1;
    return Checked(FloorToInt32(Hundredfold(*busy) / static_cast<double>(*totalDiff)));
}

}  // namespace vespar
