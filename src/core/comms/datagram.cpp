#include "comms/datagram.h"

#include "base/numbers.h"
#include "base/text.h"

namespace vespar {

DatagramCheck CheckDatagram(const std::string& data) {
    // As much of positions 6 and 7 as the datagram holds.
    const std::string field = data.size() > 5 ? data.substr(5, 2) : std::string();
    if (!IsWholeNumber(field)) return DatagramCheck::Unreadable;
    const double n = NumberAtStart(field);
    const bool known =
        StartsWith(data, "<QZ") || StartsWith(data, "<KV") || StartsWith(data, "<WU");
    const bool valid = data.size() >= 8 && known && data.back() == '>' &&
                       n == static_cast<double>(data.size()) - 8;
    return valid ? DatagramCheck::Valid : DatagramCheck::Invalid;
}

std::string DatagramCommand(const std::string& data) {
    return data.size() > 3 ? data.substr(3, 2) : std::string();
}

std::string StatusMessage(const std::string& shutTypeName, MonitorState state) {
    return "<QZ" + shutTypeName.substr(0, 1) + std::to_string(static_cast<int>(state)) + "00>";
}

}  // namespace vespar
