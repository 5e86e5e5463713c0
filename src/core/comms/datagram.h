#pragma once

#include <string>

#include "state/monitor_state.h"

namespace vespar {

// The messages a master sends: its Reset/Cancel, its Test, and a sign of life.
inline constexpr const char* kResetMessage = "<QZC000>";
inline constexpr const char* kTestMessage = "<QZT000>";
inline constexpr const char* kAliveMessage = "<QZA000>";

// What a received datagram is: "<QZ" (or "<KV", "<WU"), a letter, a digit, the number of
// characters beyond eight in two digits, further characters, ">".
enum class DatagramCheck {
    Valid,
    Invalid,     // well-formed length field, but the prefix, end or length is wrong
    Unreadable,  // the length field (positions 6 and 7) is not a number
};
DatagramCheck CheckDatagram(const std::string& data);

// The command of a datagram: its characters at positions 4 and 5 ("C0", "T0", "A1", ...).
std::string DatagramCommand(const std::string& data);

// The status a master reports: "<QZ", the first letter of its shutdown type's name, its
// state's number, "00>".
std::string StatusMessage(const std::string& shutTypeName, MonitorState state);

}  // namespace vespar
