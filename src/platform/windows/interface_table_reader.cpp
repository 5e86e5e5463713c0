#include "platform/windows/interface_table_reader.h"

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>  // the IP helper's newer tables need its address types first
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

#include <algorithm>
#include <string>

namespace vespar::windows_platform {
namespace {

using GetIfTable2Function = DWORD(WINAPI*)(PMIB_IF_TABLE2*);
using FreeMibTableFunction = void(WINAPI*)(PVOID);

// A description in the system's code page, as the older table gives it.
std::string AnsiText(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.resize(static_cast<std::size_t>(size - 1));
    return result;
}

std::vector<std::uint8_t> Address(const unsigned char* bytes, unsigned long length,
                                  std::size_t capacity) {
    const std::size_t n = std::min<std::size_t>(length, capacity);
    return {bytes, bytes + n};
}

}  // namespace

InterfaceTableReader::InterfaceTableReader() {
    if (HMODULE iphlpapi = GetModuleHandleA("iphlpapi.dll"); iphlpapi != nullptr) {
        getIfTable2_ = reinterpret_cast<void*>(GetProcAddress(iphlpapi, "GetIfTable2"));
        freeMibTable_ = reinterpret_cast<void*>(GetProcAddress(iphlpapi, "FreeMibTable"));
    }
}

std::optional<std::vector<InterfaceRow>> InterfaceTableReader::Read() {
    if (getIfTable2_ != nullptr && freeMibTable_ != nullptr) return ReadTable2();
    return ReadOldTable();
}

std::optional<std::vector<InterfaceRow>> InterfaceTableReader::ReadTable2() {
    MIB_IF_TABLE2* table = nullptr;
    if (reinterpret_cast<GetIfTable2Function>(getIfTable2_)(&table) != NO_ERROR || table == nullptr)
        return std::nullopt;
    std::vector<InterfaceRow> rows;
    rows.reserve(table->NumEntries);
    for (ULONG i = 0; i < table->NumEntries; ++i) {
        const MIB_IF_ROW2& row = table->Table[i];
        rows.push_back(
            {AnsiText(row.Description),
             Address(row.PhysicalAddress, row.PhysicalAddressLength, sizeof row.PhysicalAddress),
             row.InOctets, row.OutOctets});
    }
    reinterpret_cast<FreeMibTableFunction>(freeMibTable_)(table);
    return rows;
}

std::optional<std::vector<InterfaceRow>> InterfaceTableReader::ReadOldTable() {
    ULONG size = 0;
    if (GetIfTable(nullptr, &size, FALSE) == ERROR_NOT_SUPPORTED) return std::nullopt;
    // The table may grow between the two calls: ask again with the size it then needs.
    std::vector<unsigned char> buffer;
    DWORD result = ERROR_INSUFFICIENT_BUFFER;
    for (int attempt = 0; attempt < 3 && result == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
        buffer.assign(std::max<ULONG>(size, sizeof(MIB_IFTABLE)), 0);
        size = static_cast<ULONG>(buffer.size());
        result = GetIfTable(reinterpret_cast<MIB_IFTABLE*>(buffer.data()), &size, FALSE);
    }
    if (result != NO_ERROR) return std::nullopt;
    const auto* table = reinterpret_cast<const MIB_IFTABLE*>(buffer.data());
    std::vector<InterfaceRow> rows;
    rows.reserve(table->dwNumEntries);
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        const MIB_IFROW& row = table->table[i];
        const DWORD length = std::min<DWORD>(row.dwDescrLen, sizeof row.bDescr);
        std::string description(reinterpret_cast<const char*>(row.bDescr), length);
        // The length counts the terminating zero on some systems.
        while (!description.empty() && description.back() == '\0') description.pop_back();
        rows.push_back({std::move(description),
                        Address(row.bPhysAddr, row.dwPhysAddrLen, sizeof row.bPhysAddr),
                        row.dwInOctets, row.dwOutOctets});
    }
    return rows;
}

}  // namespace vespar::windows_platform
