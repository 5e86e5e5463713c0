#include "platform/windows/nt_native_counters.h"

#include <windows.h>
#include <winternl.h>

#include <array>
#include <cstring>

namespace vespar::windows_platform {
namespace {

constexpr int kBasicInformation = 0;
constexpr int kPerformanceInformation = 2;
constexpr int kTimeOfDayInformation = 3;

// Large enough for each record's 64-bit layout, which is longer than the 32-bit one
// (the basic record is 64 bytes rather than 44, the performance record over 312).
using RecordBuffer = std::array<unsigned char, 1024>;

std::int64_t Counter(const RecordBuffer& record, std::size_t offset) {
    std::int64_t value = 0;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
}

}  // namespace

NtNativeCounters::NtNativeCounters() {
    if (HMODULE ntdll = GetModuleHandleA("ntdll.dll"); ntdll != nullptr) {
        query_ = reinterpret_cast<QueryFunction>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformation")));
    }
}

std::optional<int> NtNativeCounters::ProcessorCount() {
    if (query_ == nullptr) return std::nullopt;
    SYSTEM_BASIC_INFORMATION basic{};
    if (query_(kBasicInformation, &basic, sizeof basic, nullptr) != 0) return std::nullopt;
    return static_cast<int>(static_cast<unsigned char>(basic.NumberOfProcessors));
}

std::optional<std::int64_t> NtNativeCounters::TimeOfDay() {
    if (query_ == nullptr) return std::nullopt;
    RecordBuffer record{};
    // The leading 32 bytes (boot and current time, time-zone bias and id) have one layout on
    // every version; the system accepts a shorter buffer for this record.
    if (query_(kTimeOfDayInformation, record.data(), 32, nullptr) != 0) return std::nullopt;
    return Counter(record, 8);  // after the boot time
}

std::optional<std::int64_t> NtNativeCounters::IdleProcessTime() {
    if (query_ == nullptr) return std::nullopt;
    RecordBuffer record{};
    unsigned long length = 0;
    if (query_(kPerformanceInformation, record.data(), static_cast<unsigned long>(record.size()),
               &length) != 0)
        return std::nullopt;
    return Counter(record, 0);
}

}  // namespace vespar::windows_platform
