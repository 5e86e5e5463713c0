#pragma once

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
// clang-format on

#include <functional>
#include <string>

#include "comms/datagram_socket.h"
#include "win32/net/message_window.h"

namespace vespar::win32 {

// Winsock's start-up for as long as the object lives.
class WinsockSession {
  public:
    WinsockSession();
    ~WinsockSession();
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
};

// An address as the core compares it: IPv4 in dotted form, also when it arrived mapped into
// IPv6 on a socket that serves both.
std::string AddressText(const sockaddr* address);

// The program's UDP socket: Winsock notices arrive at the message window (WSAAsyncSelect),
// and each datagram is handed to the core as one event through the front-end's event
// boundary.
class WinsockDatagramSocket : public DatagramSocket {
  public:
    using EventSink = std::function<void(const std::function<void()>&)>;

    WinsockDatagramSocket(MessageWindow& window, EventSink sink);
    ~WinsockDatagramSocket() override;
    WinsockDatagramSocket(const WinsockDatagramSocket&) = delete;
    WinsockDatagramSocket& operator=(const WinsockDatagramSocket&) = delete;

    bool Bind(int port) override;
    bool Send(const std::string& address, int port, const std::string& data) override;
    void SetReceiver(Receiver receiver) override { receiver_ = std::move(receiver); }

  private:
    void Close();
    // A socket for one family, bound to the port on every address of it, reporting to the
    // window; INVALID_SOCKET when that cannot be done, with the Winsock error in error.
    SOCKET Open(int family, int port, int& error);
    void ReadPending();

    WinsockSession session_;
    MessageWindow& window_;
    EventSink sink_;
    Receiver receiver_;
    UINT message_ = 0;
    SOCKET socket_ = INVALID_SOCKET;
    int family_ = AF_UNSPEC;
};

}  // namespace vespar::win32
