#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sensors/interface_table.h"

namespace vespar {

// "00" for a zero byte, else upper-case hex without a leading zero, joined by "-":
// 00 0C 29 AB gives "00-C-29-AB". Only the first 8 bytes count.
std::string AdapterAddressText(const std::vector<std::uint8_t>& bytes);

// One network interface.
class CInterface {
  public:
    const std::string& InterfaceDescription() const { return description_; }
    void SetInterfaceDescription(std::string text) { description_ = std::move(text); }
    const std::string& AdapterAddress() const { return address_; }
    void SetAdapterAddress(std::string text) { address_ = std::move(text); }

  private:
    std::string description_;
    std::string address_;
};

// The interfaces of one table reading, in table order.
class CInterfaces {
  public:
    CInterface& Add(CInterface item);
    // 1-based; throws std::out_of_range outside 1..Count.
    const CInterface& Item(std::int32_t index) const;
    std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }

  private:
    std::vector<CInterface> items_;
};

// Reads the interface table and sums the octet counters of all rows.
class CIpHelper {
  public:
    explicit CIpHelper(InterfaceTable& table) : table_(table) {}

    // Reads the table afresh, replacing the collection and both sums.
    const CInterfaces& Interfaces();
    // Sums of the last reading.
    std::int64_t ReceivedOctets() const { return received_; }
    std::int64_t SentOctets() const { return sent_; }

  private:
    InterfaceTable& table_;
    CInterfaces interfaces_;
    // 64-bit: busy links pass 2 GiB within days, and a 32-bit sum would stop moving there.
    std::int64_t received_ = 0;
    std::int64_t sent_ = 0;
};

}  // namespace vespar
