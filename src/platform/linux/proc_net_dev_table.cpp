#include "platform/linux/proc_net_dev_table.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <string>

#include "base/text.h"

namespace vespar::linux_platform {
namespace {

constexpr int kReceiveBytesField = 0;
constexpr int kTransmitBytesField = 8;  // after the eight receive columns
constexpr unsigned long kLoopbackFlag = 0x8;
constexpr std::size_t kMaxAddressBytes = 8;  // what the interface row carries

bool ParseUnsigned(const std::string& text, std::uint64_t& value, int base = 10) {
    const char* first = text.data();
    const char* last = first + text.size();
    auto [end, ec] = std::from_chars(first, last, value, base);
    return ec == std::errc() && end == last && first != last;
}

std::string FirstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) return {};
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
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
std::vector<std::uint8_t> ParseAddress(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    if (text.empty()) return bytes;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, ':')) {
        std::uint64_t value = 0;
        if (part.size() > 2 || !ParseUnsigned(part, value, 16)) return {};
        if (bytes.size() < kMaxAddressBytes) bytes.push_back(static_cast<std::uint8_t>(value));
    }
    if (text.back() == ':') return {};
    return bytes;
}

// "  eth0: 1234 5 0 0 0 0 0 0 5678 ..."; false for a line that is not such a row.
bool ParseRow(const std::string& line, std::string& name, std::uint64_t& in, std::uint64_t& out) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) return false;
    std::istringstream names(line.substr(0, colon));
    if (!(names >> name)) return false;
    std::string rest;
    if (names >> rest) return false;  // a blank inside the name part
    std::istringstream counters(line.substr(colon + 1));
    std::string token;
    int field = 0;
    for (; field <= kTransmitBytesField && counters >> token; ++field) {
        std::uint64_t value = 0;
        if (!ParseUnsigned(token, value)) return false;
        if (field == kReceiveBytesField) in = value;
        if (field == kTransmitBytesField) out = value;
    }
    return field > kTransmitBytesField;
}

}  // namespace

ProcNetDevTable::ProcNetDevTable(std::filesystem::path root) : root_(std::move(root)) {}

const ProcNetDevTable::Sysfs& ProcNetDevTable::Describe(const std::string& name) {
    auto [it, added] = known_.try_emplace(name);
    if (added && UsableAsPathPart(name)) {
        const auto sysDir = root_ / "sys" / "class" / "net" / name;
        it->second.loopback = IsLoopback(sysDir, name);
        if (!it->second.loopback) it->second.address = ParseAddress(FirstLine(sysDir / "address"));
    }
    return it->second;
}

std::optional<std::vector<InterfaceRow>> ProcNetDevTable::Read() {
    std::ifstream file(root_ / "proc" / "net" / "dev");
    if (!file) return std::nullopt;
    std::vector<InterfaceRow> rows;
    std::map<std::string, Sysfs> seen;
    std::string line;
    for (int header = 0; header < 2; ++header) std::getline(file, line);
    while (std::getline(file, line)) {
        InterfaceRow row;
        std::string name;
        // A damaged row is passed over; the others still count.
        if (!ParseRow(line, name, row.inOctets, row.outOctets)) continue;
        const Sysfs& sysfs = seen.insert_or_assign(name, Describe(name)).first->second;
        if (sysfs.loopback) continue;
        row.physicalAddress = sysfs.address;
        row.description = name;
        rows.push_back(std::move(row));
    }
    if (file.bad()) return std::nullopt;
    // A name that went away is described afresh should it come back.
    known_ = std::move(seen);
    return rows;
}

}  // namespace vespar::linux_platform
