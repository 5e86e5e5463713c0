#include "sensors/interfaces.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace vespar {
namespace {

constexpr std::size_t kMaxAddressBytes = 8;

// Adds a counter; an addition that would overflow is skipped, as the sums always did.
void AddCounter(std::int64_t& sum, std::uint64_t counter) {
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (counter > kMax - static_cast<std::uint64_t>(sum)) return;
    sum += static_cast<std::int64_t>(counter);
}

}  // namespace

std::string AdapterAddressText(const std::vector<std::uint8_t>& bytes) {
    // By hand rather than through printf: this runs for every interface every second.
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    const std::size_t n = std::min(bytes.size(), kMaxAddressBytes);
    text.reserve(3 * n);
    for (std::size_t k = 0; k < n; ++k) {
        if (k > 0) text += '-';
        const unsigned b = bytes[k];
        if (b == 0) {
            text += "00";
            continue;
        }
        if (b >= 16) text += kHex[b >> 4];
        text += kHex[b & 15];
    }
    return text;
}

CInterface& CInterfaces::Add(CInterface item) {
    items_.push_back(std::move(item));
    return items_.back();
}

const CInterface& CInterfaces::Item(std::int32_t index) const {
    if (index < 1 || index > Count()) throw std::out_of_range("CInterfaces::Item");
    return items_[static_cast<std::size_t>(index - 1)];
}

const CInterfaces& CIpHelper::Interfaces() {
    interfaces_ = CInterfaces{};
    received_ = 0;
    sent_ = 0;
    const auto rows = table_.Read();
    if (!rows) return interfaces_;
    for (const auto& row : *rows) {
        CInterface item;
        item.SetInterfaceDescription(row.description);
        item.SetAdapterAddress(AdapterAddressText(row.physicalAddress));
        AddCounter(received_, row.inOctets);
        AddCounter(sent_, row.outOctets);
        interfaces_.Add(std::move(item));
    }
    return interfaces_;
}

}  // namespace vespar
