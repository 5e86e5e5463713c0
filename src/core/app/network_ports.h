#pragma once

#include "comms/datagram_socket.h"
#include "comms/host_resolver.h"
#include "update/download_service.h"

namespace vespar {

// The network services the program talks through, owned by the front-end, whose events
// arrive on the user-interface thread.
struct NetworkPorts {
    DatagramSocket& socket;
    HostResolver& resolver;
    DownloadService& downloads;
};

}  // namespace vespar
