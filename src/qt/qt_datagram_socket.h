#pragma once

#include <QHostAddress>
#include <QUdpSocket>
#include <functional>
#include <string>

#include "comms/datagram_socket.h"

namespace vespar::qt {

// An address as the core compares it: IPv4 in dotted form, also when it arrived mapped into
// IPv6 on a socket that serves both.
std::string AddressText(const QHostAddress& address);

// The program's UDP socket on the event loop: each arriving datagram is handed to the core
// as one event through the front-end's event boundary.
class QtDatagramSocket : public DatagramSocket {
  public:
    using EventSink = std::function<void(const std::function<void()>&)>;

    explicit QtDatagramSocket(EventSink sink);
    QtDatagramSocket(const QtDatagramSocket&) = delete;
    QtDatagramSocket& operator=(const QtDatagramSocket&) = delete;

    bool Bind(int port) override;
    bool Send(const std::string& address, int port, const std::string& data) override;
    void SetReceiver(Receiver receiver) override { receiver_ = std::move(receiver); }

  private:
    void ReadPending();

    EventSink sink_;
    Receiver receiver_;
    QUdpSocket socket_;
};

}  // namespace vespar::qt
