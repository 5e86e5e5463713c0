#include "platform/linux/proc_net_dev_table.h"

#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#include "base/text.h"
#include "platform/linux/kernel_text.h"

namespace vespar::linux_platform {
namespace {

constexpr int kReceiveBytesField = 0;
constexpr int kTransmitBytesField = 8;  // after the eight receive columns
constexpr unsigned long kLoopbackFlag = 0x8;
constexpr std::size_t kMaxAddressBytes = 8;  // what the interface row carries

// A sysfs attribute's first line without trailing blanks; empty when it cannot be read.
std::string FirstLine(const std::filesystem::path& file) {
    KernelTextFile attribute(file);
    std::string_view text;
    std::string_view line;
    if (!attribute.Read(text) || !NextLine(text, line)) return {};
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    return std::string(line);
}

// Interface names never hold '/', but the name comes from a file: keep lookups in sysfs.
bool UsableAsPathPart(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

bool IsLoopback(const std::filesystem::path& sysDir, const std::string& name) {
    if (name == "lo") return true;
    std::string flags = FirstLine(sysDir / "flags");
    if (StartsWith(flags, "0x") || StartsWith(flags, "0X")) flags.erase(0, 2);
    std::uint64_t value = 0;
    return ParseUnsigned(flags, value, 16) && (value & kLoopbackFlag) != 0;
}

// "aa:bb:cc:dd:ee:ff"; anything malformed gives no bytes.
std::vector<std::uint8_t> ParseAddress(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    for (;;) {
        const auto colon = text.find(':');
        const std::string_view part = text.substr(0, colon);
        std::uint64_t value = 0;
        if (part.size() > 2 || !ParseUnsigned(part, value, 16)) return {};
        if (bytes.size() < kMaxAddressBytes) bytes.push_back(static_cast<std::uint8_t>(value));
        if (colon == std::string_view::npos) return bytes;
        text.remove_prefix(colon + 1);
    }
}

// "  eth0: 1234 5 0 0 0 0 0 0 5678 ..."; false for a line that is not such a row.
bool ParseRow(std::string_view line, std::string_view& name, std::uint64_t& in,
              std::uint64_t& out) {
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) return false;
    std::string_view names = line.substr(0, colon);
    name = NextField(names);
    if (name.empty() || !NextField(names).empty()) return false;  // a blank inside the name
    std::string_view counters = line.substr(colon + 1);
    int field = 0;
    for (std::string_view token;
         field <= kTransmitBytesField && !(token = NextField(counters)).empty(); ++field) {
        std::uint64_t value = 0;
        if (!ParseUnsigned(token, value)) return false;
        if (field == kReceiveBytesField) in = value;
        if (field == kTransmitBytesField) out = value;
    }
    return field > kTransmitBytesField;
}

}  // namespace

ProcNetDevTable::ProcNetDevTable(std::filesystem::path root)
    : root_(std::move(root)), dev_(root_ / "proc" / "net" / "dev") {}

ProcNetDevTable::Sysfs& ProcNetDevTable::Describe(std::string_view name) {
    if (auto it = known_.find(name); it != known_.end()) return it->second;
    const std::string key(name);
    Sysfs& sysfs = known_[key];
    if (UsableAsPathPart(key)) {
        const auto sysDir = root_ / "sys" / "class" / "net" / key;
        sysfs.loopback = IsLoopback(sysDir, key);
        if (!sysfs.loopback) sysfs.address = ParseAddress(FirstLine(sysDir / "address"));
    }
    return sysfs;
}

std::optional<std::vector<InterfaceRow>> ProcNetDevTable::Read() {
    std::string_view rest;
    if (!dev_.Read(rest)) return std::nullopt;
    std::vector<InterfaceRow> rows;
    std::string_view line;
    for (int header = 0; header < 2; ++header) NextLine(rest, line);
    while (NextLine(rest, line)) {
        InterfaceRow row;
        std::string_view name;
        // A damaged row is passed over; the others still count.
        if (!ParseRow(line, name, row.inOctets, row.outOctets)) continue;
        Sysfs& sysfs = Describe(name);
        sysfs.seen = true;
        if (sysfs.loopback) continue;
        row.physicalAddress = sysfs.address;
        row.description = name;
        rows.push_back(std::move(row));
    }
    // A name that went away is described afresh should it come back.
    for (auto it = known_.begin(); it != known_.end();) {
        it = std::exchange(it->second.seen, false) ? std::next(it) : known_.erase(it);
    }
    return rows;
}

}  // namespace vespar::linux_platform
