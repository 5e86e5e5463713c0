#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/network_ports.h"
#include "comms/datagram_socket.h"
#include "comms/host_resolver.h"
#include "fakes/fake_download_service.h"

namespace vespar::test {

class FakeDatagramSocket;

// The computers of one test and the wire between them. Datagrams and lookup answers wait
// in one queue until Run() hands them over in order, as an event loop would.
class FakeNetwork {
  public:
    // Hands over everything queued, and whatever that causes in turn.
    void Run();

    std::map<std::string, std::vector<std::string>> names;  // host name -> addresses
    std::set<int> taken;  // ports another program holds on every computer

  private:
    friend class FakeDatagramSocket;
    friend class FakeHostResolver;
    std::vector<FakeDatagramSocket*> sockets_;
    std::deque<std::function<void()>> events_;
};

// One computer's socket; the computer has the one address given.
class FakeDatagramSocket : public DatagramSocket {
  public:
    struct Sent {
        std::string to;
        int port;
        std::string data;
    };

    FakeDatagramSocket(FakeNetwork& net, std::string address);
    ~FakeDatagramSocket() override;
    FakeDatagramSocket(const FakeDatagramSocket&) = delete;
    FakeDatagramSocket& operator=(const FakeDatagramSocket&) = delete;

    bool Bind(int port) override;
    bool Send(const std::string& address, int port, const std::string& data) override;
    void SetReceiver(Receiver receiver) override { receiver_ = std::move(receiver); }
    // A datagram arrives now from sender.
    void Arrive(const std::string& sender, const std::string& data);

    const std::string address;
    int port = 0;  // the bound port, 0 while none
    std::vector<int> binds;
    std::vector<Sent> sent;

  private:
    FakeNetwork& net_;
    Receiver receiver_;
};

// Answers from the network's names; a numeric address answers for itself.
class FakeHostResolver : public HostResolver {
  public:
    explicit FakeHostResolver(FakeNetwork& net) : net_(net) {}
    void Lookup(const std::string& name, Answer answer) override;
    std::vector<std::string> looked;

  private:
    FakeNetwork& net_;
};

// The network ports of one fake computer.
struct FakeNetworkPorts {
    FakeNetworkPorts(FakeNetwork& net, const std::string& address)
        : socket(net, address), resolver(net) {}
    NetworkPorts ports() { return NetworkPorts{socket, resolver, downloads}; }

    FakeDatagramSocket socket;
    FakeHostResolver resolver;
    FakeDownloadService downloads;
};

}  // namespace vespar::test
