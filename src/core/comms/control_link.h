#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "comms/datagram_socket.h"
#include "comms/host_resolver.h"
#include "comms/link_host.h"
#include "state/context.h"
#include "ui/main_window.h"

namespace vespar {

// The master/slave link over the program's one UDP socket: binding by role, sending the
// pending message, and receiving. A master binds Port2 and sends to Port1, a slave binds
// Port1 and sends to Port2. A slave listens only to the addresses its IPAdd resolves to.
class ControlLink {
  public:
    ControlLink(Context& ctx, MainWindowScreen& main, DatagramSocket& socket,
                HostResolver& resolver, LinkHost& host);
    ~ControlLink();
    ControlLink(const ControlLink&) = delete;
    ControlLink& operator=(const ControlLink&) = delete;

    // Run at the end of every reload of the configuration. Binds again only when the local
    // port changed; a port that cannot be bound asks whether to end the program.
    void BindControlSocket();
    // Sends PendingMessage to the partner; after a send, PendingMessage becomes the status
    // message. A failure keeps the message for the next send.
    void SendDatagram();
    // One arriving datagram.
    void Receive(const Datagram& datagram);

    int boundPort() const { return boundPort_; }
    int remotePort() const { return remotePort_; }

  private:
    // Forgets the addresses and noted senders when IPAdd changed.
    void Follow();
    // The partner's address to send to, or none while its name is not resolved.
    const std::string* PartnerAddress();
    bool FromPartner(const std::string& sender);
    // Starts a lookup of IPAdd unless one runs or the last answer is newer than maxAgeMs.
    void Resolve(std::int64_t maxAgeMs);
    void Answered(unsigned lookup, const std::vector<std::string>& addresses);
    void NoteIgnored(const std::string& sender);
    void ShowCounterError(const char* caption);
    void PortError(int port);

    Context& ctx_;
    Runtime& rt_;
    MainWindowScreen& main_;
    DatagramSocket& socket_;
    HostResolver& resolver_;
    LinkHost& host_;

    int boundPort_ = 0;  // kept across reloads
    int remotePort_ = 0;

    std::string partnerName_;           // the IPAdd the addresses below belong to
    std::vector<std::string> partner_;  // numeric addresses, IPv4 first
    unsigned lookup_ = 0;               // number of the latest lookup
    bool resolving_ = false;
    std::int64_t answeredAtMs_ = 0;
    bool answered_ = false;
    std::set<std::string> ignored_;  // senders already noted in the log
    // Answers arriving after the link is gone find it expired.
    std::shared_ptr<ControlLink*> self_ = std::make_shared<ControlLink*>(this);
};

}  // namespace vespar
