#include "fakes/fake_network.h"

#include <algorithm>
#include <stdexcept>

namespace vespar::test {

void FakeNetwork::Run() {
    // Two programs that kept answering each other would never stop.
    for (int handed = 0; !events_.empty(); ++handed) {
        if (handed == 10'000) throw std::runtime_error("the fake network never goes quiet");
        const std::function<void()> event = std::move(events_.front());
        events_.pop_front();
        event();
    }
}

FakeDatagramSocket::FakeDatagramSocket(FakeNetwork& net, std::string address)
    : address(std::move(address)), net_(net) {
    net_.sockets_.push_back(this);
}

FakeDatagramSocket::~FakeDatagramSocket() { std::erase(net_.sockets_, this); }

bool FakeDatagramSocket::Bind(int newPort) {
    binds.push_back(newPort);
    port = 0;
    const bool held = std::any_of(net_.sockets_.begin(), net_.sockets_.end(), [&](auto* s) {
        return s->address == address && s->port == newPort;
    });
    if (held || net_.taken.count(newPort) != 0) return false;
    port = newPort;
    return true;
}

bool FakeDatagramSocket::Send(const std::string& to, int toPort, const std::string& data) {
    sent.push_back({to, toPort, data});
    net_.events_.push_back([&net = net_, from = address, to, toPort, data] {
        for (FakeDatagramSocket* s : net.sockets_)
            if (s->address == to && s->port == toPort) s->Arrive(from, data);
    });
    return true;
}

void FakeDatagramSocket::Arrive(const std::string& sender, const std::string& data) {
    if (receiver_) receiver_(Datagram{sender, data});
}

void FakeHostResolver::Lookup(const std::string& name, Answer answer) {
    looked.push_back(name);
    net_.events_.push_back([&net = net_, name, answer = std::move(answer)] {
        const auto known = net.names.find(name);
        const bool numeric = name.find_first_not_of("0123456789.") == std::string::npos ||
                             name.find(':') != name.npos;
        const std::vector<std::string> none, own{name};
        answer(known != net.names.end() ? known->second : numeric ? own : none);
    });
}

}  // namespace vespar::test
