#pragma once

// clang-format off
#include <winsock2.h>
// clang-format on

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "comms/host_resolver.h"
#include "win32/net/message_window.h"
#include "win32/net/winsock_datagram_socket.h"

namespace vespar::win32 {

// Name lookups by Winsock in the background (WSAAsyncGetHostByName), answered at the message
// window; each answer is handed to the core as one event through the front-end's event
// boundary. Lookups still running when the resolver goes are cancelled.
class WinsockHostResolver : public HostResolver {
  public:
    using EventSink = std::function<void(const std::function<void()>&)>;

    WinsockHostResolver(MessageWindow& window, EventSink sink);
    ~WinsockHostResolver() override;
    WinsockHostResolver(const WinsockHostResolver&) = delete;
    WinsockHostResolver& operator=(const WinsockHostResolver&) = delete;

    void Lookup(const std::string& name, Answer answer) override;

  private:
    struct Pending {
        Answer answer;
        std::unique_ptr<char[]> buffer;  // Winsock writes the host record here
    };
    void Answered(HANDLE task, LPARAM status);

    WinsockSession session_;
    MessageWindow& window_;
    EventSink sink_;
    UINT message_ = 0;
    std::map<HANDLE, Pending> pending_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vespar::win32
