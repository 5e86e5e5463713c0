#include "platform/linux/proc_net_dev_table.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "base/text.h"
#include "platform/linux/kernel_text.h"

namespace vespar::linux_platform {
namespace {

constexpr int kReceiveBytesField = 0;
constexpr int kTransmitBytesField = 8;  // after the eight receive columns
constexpr unsigned long kLoopbackFlag = 0x8;
constexpr std::size_t kMaxAddressBytes = 8;  // what the interface row carries

bool ParseUnsigned(std::string_view text, std::uint64_t& value, int base = 10) {
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
    : root_(std::move(root)), devFile_(root_ / "proc" / "net" / "dev") {}

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
    if (!ReadKernelText(devFile_, text_)) return std::nullopt;
    std::vector<InterfaceRow> rows;
    std::map<std::string, Sysfs> seen;
    std::string_view rest = text_;
    std::string_view line;
    for (int header = 0; header < 2; ++header) NextLine(rest, line);
    while (NextLine(rest, line)) {
        InterfaceRow row;
        std::string_view field;
        // A damaged row is passed over; the others still count.
        if (!ParseRow(line, field, row.inOctets, row.outOctets)) continue;
        std::string name(field);
        const Sysfs& sysfs = seen.insert_or_assign(name, Describe(name)).first->second;
        if (sysfs.loopback) continue;
        row.physicalAddress = sysfs.address;
        row.description = std::move(name);
        rows.push_back(std::move(row));
    }
    // A name that went away is described afresh should it come back.
    known_ = std::move(seen);
    return rows;
}

}  // namespace vespar::linux_platform
