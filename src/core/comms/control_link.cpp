#include "comms/control_link.h"

#include <algorithm>

#include "base/text.h"
#include "base/version.h"
#include "comms/datagram.h"

namespace vespar {

namespace {
// A name that could not be resolved is looked up again at a send or arrival this much later;
// a resolved one is refreshed after a while, so a partner whose address changes is found.
constexpr std::int64_t kRetryMs = 5'000;
constexpr std::int64_t kRefreshMs = 300'000;
// Senders noted in the log, at most: a flood of forged senders must not grow the program.
constexpr std::size_t kMaxNoted = 64;
}  // namespace

ControlLink::ControlLink(Context& ctx, MainWindowScreen& main, DatagramSocket& socket,
                         HostResolver& resolver, LinkHost& host)
    : ctx_(ctx), rt_(ctx.rt), main_(main), socket_(socket), resolver_(resolver), host_(host) {
    socket_.SetReceiver([this](const Datagram& d) { Receive(d); });
}

ControlLink::~ControlLink() { socket_.SetReceiver(nullptr); }

void ControlLink::BindControlSocket() {
    const Configuration& c = rt_.config;
    if (c.IPAdd.empty()) return;
    const bool master = c.CMain == 1;
    remotePort_ = master ? c.Port1 : c.Port2;
    const int local = master ? c.Port2 : c.Port1;
    if (boundPort_ != local) {
        // Taken before the bind is tried: a failed port is not tried again until it changes.
        boundPort_ = local;
        if (!socket_.Bind(local)) PortError(local);
    }
    Follow();
    Resolve(0);
}

void ControlLink::SendDatagram() {
    if (rt_.config.IPAdd.empty()) return;
    const std::string* to = PartnerAddress();
    if (to == nullptr || !socket_.Send(*to, remotePort_, rt_.pendingMessage)) return;
    rt_.pendingMessage = StatusMessage(rt_.shutTypeName, rt_.monitorState);
}

void ControlLink::Receive(const Datagram& datagram) {
    const Configuration& c = rt_.config;
    const bool slave = c.CMain == 2;
    // Only the master may keep a slave alive, reset it or start its test.
    if (slave && !FromPartner(datagram.sender)) {
        Resolve(kRetryMs);
        NoteIgnored(datagram.sender);
        return;
    }
    switch (CheckDatagram(datagram.data)) {
        case DatagramCheck::Valid: {
            rt_.commsText = "C";
            if (!slave) return;
            host_.HeardFromMaster();
            const std::string command = DatagramCommand(datagram.data);
            if (command == "A1") {
                SendDatagram();
            } else if (command == "C0") {
                host_.ResetCommand();
            } else if (command == "T0") {
                host_.TestCommand();
            }
            return;
        }
        case DatagramCheck::Invalid:
            rt_.commsText = "E";
            if (!slave) return;
            ShowCounterError("Connection Error");
            host_.HeardFromMaster();
            return;
        case DatagramCheck::Unreadable:
            rt_.commsText = c.IPAdd.size() > 3 ? "." : "";
            if (!slave) return;
            rt_.commsText = ".";
            ShowCounterError("Not connexted");
            host_.HeardFromMaster();
            return;
    }
}

void ControlLink::Follow() {
    if (partnerName_ == rt_.config.IPAdd) return;
    partnerName_ = rt_.config.IPAdd;
    partner_.clear();
    ignored_.clear();
    answered_ = false;
    resolving_ = false;
    ++lookup_;  // an answer still on its way is for the old name
}

const std::string* ControlLink::PartnerAddress() {
    Follow();
    Resolve(partner_.empty() ? kRetryMs : kRefreshMs);
    return partner_.empty() ? nullptr : &partner_.front();
}

bool ControlLink::FromPartner(const std::string& sender) {
    Follow();
    return std::find(partner_.begin(), partner_.end(), sender) != partner_.end();
}

void ControlLink::Resolve(std::int64_t maxAgeMs) {
    if (partnerName_.empty() || resolving_) return;
    if (answered_ && ctx_.clock.tickMs() - answeredAtMs_ < maxAgeMs) return;
    resolving_ = true;
    const unsigned lookup = ++lookup_;
    std::weak_ptr<ControlLink*> self = self_;
    resolver_.Lookup(partnerName_, [self, lookup](const std::vector<std::string>& addresses) {
        if (const auto link = self.lock()) (*link)->Answered(lookup, addresses);
    });
}

void ControlLink::Answered(unsigned lookup, const std::vector<std::string>& addresses) {
    if (lookup != lookup_) return;
    resolving_ = false;
    answered_ = true;
    answeredAtMs_ = ctx_.clock.tickMs();
    // A failed refresh keeps the addresses found before.
    if (addresses.empty()) return;
    partner_ = addresses;
    // IPv4 first: home and office networks pair by their IPv4 addresses.
    std::stable_partition(partner_.begin(), partner_.end(),
                          [](const std::string& a) { return a.find(':') == std::string::npos; });
}

void ControlLink::NoteIgnored(const std::string& sender) {
    if (rt_.config.LogLevel != 3 || rt_.unconfigured || ignored_.size() >= kMaxNoted) return;
    if (ignored_.insert(sender).second) host_.WriteLogEntry("Ignored", StateWord(rt_));
}

void ControlLink::ShowCounterError(const char* caption) {
    Control& counter = main_.control("Counter");
    counter.bold = true;
    counter.foreColor = kOrange;
    counter.caption = caption;
}

void ControlLink::PortError(int port) {
    const std::string text =
        JoinCrLf({"The RX Port " + std::to_string(port) + " Is Already In Use",
                  "This Error Must Be Resolved Before",
                  std::string("You Can Use ") + kProductName + ".", "Use The Configuration Screen",
                  "To Change The RX Port.", "Do You Want To End The Program?"});
    const MessageBox box{rt_.programTitle + " Port Error", text, Icon::Exclamation, Buttons::YesNo};
    if (ctx_.dialogs.Show(box) == Answer::Yes) host_.ExitProgram();
    rt_.portFailed = true;
}

}  // namespace vespar
