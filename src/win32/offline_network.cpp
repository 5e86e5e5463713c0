#include "win32/offline_network.h"

#include <utility>

namespace vespar::win32 {

namespace {
constexpr UINT kAnswer = WM_APP + 2;
}

OfflineNetwork::OfflineNetwork(Sink sink)
    : sink_(std::move(sink)), window_([this](UINT message, WPARAM, LPARAM) {
          if (message != kAnswer || pending_.empty()) return;
          Pending next = std::move(pending_.front());
          pending_.pop_front();
          sink_(next.answer);
      }) {}

void OfflineNetwork::Later(Pending pending) {
    pending_.push_back(std::move(pending));
    PostMessageA(window_.hwnd(), kAnswer, 0, 0);
}

void OfflineNetwork::Lookup(const std::string&, Answer answer) {
    Later({"", [answer] { answer({}); }});
}

void OfflineNetwork::Start(const std::string& name, const std::string&, int,
                           DownloadReceiver& receiver) {
    Later({name, [name, &receiver] {
               receiver.DownloadNotDelivered(name, 0, "No network service in this build");
           }});
}

void OfflineNetwork::Cancel(const std::string& name) {
    // A cancelled download says nothing more.
    for (Pending& p : pending_) {
        if (p.download == name) p.answer = [] {};
    }
}

}  // namespace vespar::win32
