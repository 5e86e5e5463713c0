#include "win32/net/winsock_host_resolver.h"

#include <ws2tcpip.h>

#include <cstring>
#include <optional>
#include <vector>

namespace vespar::win32 {
namespace {

// The name as a numeric address in the core's form, or nothing when it is a name.
std::optional<std::string> Literal(const std::string& name) {
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return std::nullopt;
    std::string text = AddressText(found->ai_addr);
    freeaddrinfo(found);
    return text;
}

}  // namespace

WinsockHostResolver::WinsockHostResolver(MessageWindow& window, EventSink sink)
    : window_(window), sink_(std::move(sink)) {
    message_ =
        window_.Register([this](WPARAM w, LPARAM l) { Answered(reinterpret_cast<HANDLE>(w), l); });
}

WinsockHostResolver::~WinsockHostResolver() {
    *alive_ = false;
    for (auto& [task, pending] : pending_) WSACancelAsyncRequest(task);
    window_.Unregister(message_);
}

void WinsockHostResolver::Lookup(const std::string& name, Answer answer) {
    // A numeric address answers for itself, later, as every answer does.
    if (const auto literal = Literal(name)) {
        window_.Post([this, alive = alive_, answer, a = *literal] {
            if (*alive) sink_([&] { answer({a}); });
        });
        return;
    }
    auto buffer = std::make_unique<char[]>(MAXGETHOSTSTRUCT);
    const HANDLE task = WSAAsyncGetHostByName(window_.Handle(), message_, name.c_str(),
                                              buffer.get(), MAXGETHOSTSTRUCT);
    if (task == nullptr) {
        window_.Post([this, alive = alive_, answer] {
            if (*alive) sink_([&] { answer({}); });
        });
        return;
    }
    pending_[task] = Pending{std::move(answer), std::move(buffer)};
}

void WinsockHostResolver::Answered(HANDLE task, LPARAM status) {
    auto it = pending_.find(task);
    if (it == pending_.end()) return;
    Pending pending = std::move(it->second);
    pending_.erase(it);
    std::vector<std::string> addresses;
    if (WSAGETASYNCERROR(status) == 0) {
        const auto* host = reinterpret_cast<const hostent*>(pending.buffer.get());
        if (host->h_addrtype == AF_INET && host->h_length == 4) {
            for (char** a = host->h_addr_list; a != nullptr && *a != nullptr; ++a) {
                sockaddr_in v4{};
                v4.sin_family = AF_INET;
                std::memcpy(&v4.sin_addr, *a, 4);
                addresses.push_back(AddressText(reinterpret_cast<const sockaddr*>(&v4)));
            }
        }
    }
    sink_([&] { pending.answer(addresses); });
}

}  // namespace vespar::win32
