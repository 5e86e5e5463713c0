#pragma once

#include <functional>
#include <string>

namespace vespar {

// One datagram as it arrived: the sender's address as text ("192.168.0.20", "::1") and its
// bytes unchanged.
struct Datagram {
    std::string sender;
    std::string data;
};

// The program's one UDP socket. Arriving datagrams are handed to the receiver on the
// user-interface thread, each as an event of its own between timer ticks.
class DatagramSocket {
  public:
    using Receiver = std::function<void(const Datagram&)>;

    virtual ~DatagramSocket() = default;
    // Closes the socket when it is open, then binds it to the port on every local address,
    // for this process alone; false when the port is taken or cannot be bound.
    virtual bool Bind(int port) = 0;
    // Sends the data as one datagram to a numeric address; false when it was not sent.
    virtual bool Send(const std::string& address, int port, const std::string& data) = 0;
    virtual void SetReceiver(Receiver receiver) = 0;
};

}  // namespace vespar
