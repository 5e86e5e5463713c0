#include "win32/net/winsock_datagram_socket.h"

#include <array>
#include <cstring>

namespace vespar::win32 {

WinsockSession::WinsockSession() {
    WSADATA data{};
    (void)WSAStartup(MAKEWORD(2, 2), &data);
}

WinsockSession::~WinsockSession() { WSACleanup(); }

std::string AddressText(const sockaddr* address) {
    std::array<char, INET6_ADDRSTRLEN> text{};
    if (address->sa_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(address);
        inet_ntop(AF_INET, &v4->sin_addr, text.data(), text.size());
    } else if (address->sa_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
        if (IN6_IS_ADDR_V4MAPPED(&v6->sin6_addr)) {
            inet_ntop(AF_INET, &v6->sin6_addr.s6_addr[12], text.data(), text.size());
        } else {
            inet_ntop(AF_INET6, &v6->sin6_addr, text.data(), text.size());
        }
    }
    return text.data();
}

WinsockDatagramSocket::WinsockDatagramSocket(MessageWindow& window, EventSink sink)
    : window_(window), sink_(std::move(sink)) {
    message_ = window_.Register([this](WPARAM, LPARAM l) {
        if (WSAGETSELECTEVENT(l) == FD_READ) ReadPending();
    });
}

WinsockDatagramSocket::~WinsockDatagramSocket() {
    Close();
    window_.Unregister(message_);
}

void WinsockDatagramSocket::Close() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = INVALID_SOCKET;
    family_ = AF_UNSPEC;
}

SOCKET WinsockDatagramSocket::Open(int family, int port, int& error) {
    SOCKET s = socket(family, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) {
        error = WSAGetLastError();
        return s;
    }
    // No other socket on the same port: a second program there must fail to bind rather
    // than share the master's datagrams.
    const BOOL on = TRUE;
    setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on), sizeof on);
    sockaddr_storage address{};
    int length = 0;
    if (family == AF_INET6) {
        const DWORD off = 0;  // IPv4 too, mapped into IPv6
        setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&off), sizeof off);
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
        v6->sin6_family = AF_INET6;
        v6->sin6_addr = in6addr_any;
        v6->sin6_port = htons(static_cast<u_short>(port));
        length = sizeof(sockaddr_in6);
    } else {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
        v4->sin_family = AF_INET;
        v4->sin_addr.s_addr = htonl(INADDR_ANY);
        v4->sin_port = htons(static_cast<u_short>(port));
        length = sizeof(sockaddr_in);
    }
    if (bind(s, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        WSAAsyncSelect(s, window_.Handle(), message_, FD_READ) != 0) {
        error = WSAGetLastError();
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

bool WinsockDatagramSocket::Bind(int port) {
    Close();
    if (port < 0 || port > 65535) return false;
    int error = 0;
    socket_ = Open(AF_INET6, port, error);
    if (socket_ != INVALID_SOCKET) {
        family_ = AF_INET6;
        return true;
    }
    if (error == WSAEADDRINUSE || error == WSAEACCES) return false;
    socket_ = Open(AF_INET, port, error);  // a system without IPv6
    if (socket_ == INVALID_SOCKET) return false;
    family_ = AF_INET;
    return true;
}

bool WinsockDatagramSocket::Send(const std::string& address, int port, const std::string& data) {
    if (port < 0 || port > 65535) return false;
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(address.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return false;
    sockaddr_storage to{};
    std::memcpy(&to, found->ai_addr, found->ai_addrlen);
    int length = static_cast<int>(found->ai_addrlen);
    const int family = found->ai_family;
    freeaddrinfo(found);

    if (socket_ == INVALID_SOCKET) {
        // Not bound yet: the system picks a port, as for any client.
        int error = 0;
        socket_ = Open(family, 0, error);
        if (socket_ == INVALID_SOCKET) return false;
        family_ = family;
    }
    if (family_ == AF_INET6 && family == AF_INET) {
        // An IPv4 destination on the dual socket: its mapped IPv6 form.
        sockaddr_in v4{};
        std::memcpy(&v4, &to, sizeof v4);
        sockaddr_in6 mapped{};
        mapped.sin6_family = AF_INET6;
        mapped.sin6_addr.s6_addr[10] = 0xff;
        mapped.sin6_addr.s6_addr[11] = 0xff;
        std::memcpy(&mapped.sin6_addr.s6_addr[12], &v4.sin_addr, 4);
        std::memset(&to, 0, sizeof to);
        std::memcpy(&to, &mapped, sizeof mapped);
        length = sizeof mapped;
    } else if (family_ != family) {
        return false;  // an IPv6 destination from an IPv4-only system
    }
    const u_short networkPort = htons(static_cast<u_short>(port));
    if (family_ == AF_INET6) {
        reinterpret_cast<sockaddr_in6*>(&to)->sin6_port = networkPort;
    } else {
        reinterpret_cast<sockaddr_in*>(&to)->sin_port = networkPort;
    }
    const int sent = sendto(socket_, data.data(), static_cast<int>(data.size()), 0,
                            reinterpret_cast<const sockaddr*>(&to), length);
    return sent == static_cast<int>(data.size());
}

void WinsockDatagramSocket::ReadPending() {
    // WSAAsyncSelect made the socket non-blocking: read until nothing is left.
    std::array<char, 65536> buffer{};
    for (;;) {
        sockaddr_storage from{};
        int fromLength = sizeof from;
        const int n = recvfrom(socket_, buffer.data(), static_cast<int>(buffer.size()), 0,
                               reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (n == SOCKET_ERROR) {
            // A refused earlier send shows up here as a reset; it is no datagram and no end.
            if (WSAGetLastError() == WSAECONNRESET) continue;
            return;
        }
        Datagram d{AddressText(reinterpret_cast<const sockaddr*>(&from)),
                   std::string(buffer.data(), static_cast<std::size_t>(n))};
        sink_([this, d = std::move(d)] {
            if (receiver_) receiver_(d);
        });
    }
}

}  // namespace vespar::win32
