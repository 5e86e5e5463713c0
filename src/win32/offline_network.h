#pragma once

#include <deque>
#include <functional>
#include <string>

#include "comms/datagram_socket.h"
#include "comms/host_resolver.h"
#include "update/download_service.h"
#include "win32/timer_window.h"

namespace vespar::win32 {

// The network services of a build without network ports: the socket cannot be bound (the
// program then reports its port error as for a taken port), a lookup finds nothing and a
// download is not delivered. Answers arrive later as events of their own, as real ones do.
class OfflineNetwork : public DatagramSocket, public HostResolver, public DownloadService {
  public:
    using Sink = std::function<void(const std::function<void()>&)>;
    explicit OfflineNetwork(Sink sink);

    bool Bind(int) override { return false; }
    bool Send(const std::string&, int, const std::string&) override { return false; }
    void SetReceiver(Receiver) override {}
    void Lookup(const std::string& name, Answer answer) override;
    void Start(const std::string& name, const std::string& url, int mode,
               DownloadReceiver& receiver) override;
    void Cancel(const std::string& name) override;

  private:
    struct Pending {
        std::string download;  // empty for a lookup
        std::function<void()> answer;
    };
    void Later(Pending pending);

    Sink sink_;
    std::deque<Pending> pending_;
    TimerWindow window_;
};

}  // namespace vespar::win32
