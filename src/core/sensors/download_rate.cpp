#include "sensors/download_rate.h"

#include <limits>

#include "base/dates.h"
#include "base/numbers.h"

namespace vespar {
namespace {

std::int32_t ClampToInt32(double v) {
    if (v <= std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (v >= std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v);
}

}  // namespace

void DownloadMeter::FillList(const CInterfaces& interfaces) {
    ++listGeneration_;
    list_.items.clear();
    for (std::int32_t i = 1; i <= interfaces.Count(); ++i) {
        list_.items.push_back(interfaces.Item(i).InterfaceDescription() + " ");
    }
    const int count = static_cast<int>(list_.items.size());
    const int v = setting_.ReadConnectionSetting();
    if (v >= 0 && v < count) {
        list_.selection = v;
    } else {
        list_.selection = count > 0 ? 0 : -1;
    }
}

void DownloadMeter::DLoadInit() {
    lastRateTime_ = clock_.now();
    ipHelper_.emplace(table_);
    // One reading serves the whole list; it also gives the sums for the next rate.
    FillList(ipHelper_->Interfaces());
}

std::int32_t DownloadMeter::DownloadRate() {
    if (!ipHelper_) return 0;
    const LocalTime now = clock_.now();
    if (SerialSeconds(now) - SerialSeconds(lastRateTime_) < 1) return 0;

    const std::int64_t received = ipHelper_->ReceivedOctets();
    const std::int64_t sent = ipHelper_->SentOctets();
    // Both sums are non-negative 64-bit values, so the difference cannot overflow.
    std::int32_t rate =
        ClampToInt32(RoundHalfEven(static_cast<double>(received - prevBytesIn_) / 1024.0));
    if (prevBytesIn_ == 0) rate = 0;

    prevBytesIn_ = received;
    prevBytesOut_ = sent;
    lastRateTime_ = now;

    const CInterfaces& interfaces = ipHelper_->Interfaces();
    if (interfaces.Count() != static_cast<std::int32_t>(list_.items.size())) {
        FillList(interfaces);
    }
    return rate;
}

}  // namespace vespar
