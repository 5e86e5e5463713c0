#include "comms/datagram.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace vespar {
namespace {

TEST(CheckDatagram, PrefixLengthFieldAndEnd) {
    using enum DatagramCheck;
    const std::string big = "<QZA099" + std::string(65535 - 8, 'x') + ">";
    // clang-format off
    const std::pair<std::string, DatagramCheck> cases[] = {
        {"<QZC000>", Valid}, {"<KVP100>", Valid}, {"<WUS200>", Valid},
        {"<QZA001x>", Valid},  // one character beyond eight
        {"<QZA0 0>", Valid},
        {"<QZP100", Invalid},  // cut before its ">"
        {"<QZA001>", Invalid}, {"<QZA0-1>", Invalid}, {"<XXA000>", Invalid},
        {"<QZA000x", Invalid}, {"[QZA000>", Invalid}, {big, Invalid},
        {"<QZP1ab>", Unreadable}, {"", Unreadable}, {"<QZA0", Unreadable},
        {"<QZA00", Invalid},  // a one-character length field is read
        {std::string("<QZA0\0\0>", 8), Unreadable},
    };
    // clang-format on
    for (const auto& [data, check] : cases)
        EXPECT_EQ(CheckDatagram(data), check) << data.substr(0, 16);
}

TEST(StatusMessage, TypeLetterAndStateDigit) {
    EXPECT_EQ(StatusMessage("Power Off", MonitorState::Run), "<QZP100>");
    EXPECT_EQ(StatusMessage("Standby", MonitorState::Shutdown), "<QZS200>");
    EXPECT_EQ(StatusMessage("Log Off", MonitorState::Initialise), "<QZL000>");
    EXPECT_EQ(DatagramCommand("<QZT000>"), "T0");
    EXPECT_EQ(DatagramCommand("<QZ"), "");
}

}  // namespace
}  // namespace vespar
