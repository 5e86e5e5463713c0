// Feeds arbitrary datagrams to the link's receiver, as a master or as a slave, from its
// partner or from a stranger. Whatever arrives, the marker stays one of its four values, a
// datagram judged valid has the form of one, and a stranger changes nothing on a slave.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/timers.h"
#include "comms/control_link.h"
#include "comms/datagram.h"

namespace {

using namespace vespar;

struct QuietSocket : DatagramSocket {
    bool Bind(int) override { return true; }
    bool Send(const std::string&, int, const std::string&) override { return ++sent, true; }
    void SetReceiver(Receiver r) override { receiver = std::move(r); }
    Receiver receiver;
    int sent = 0;
};

// Answers at once, which the real resolver never does; enough for a receiver.
struct ImmediateResolver : HostResolver {
    void Lookup(const std::string& name, Answer answer) override { answer({name}); }
};

struct FixedClock : Clock {
    LocalTime now() const override { return {2026, 12, 7, 9, 0, 0}; }
    std::int64_t tickMs() const override { return 0; }
};

struct NoDialogs : Dialogs {
    Answer Show(const MessageBox&) override { return Answer::No; }
};

struct CountingHost : LinkHost {
    void HeardFromMaster() override { ++calls; }
    void ResetCommand() override { ++calls; }
    void TestCommand() override { ++calls; }
    void WriteLogEntry(const std::string&, const std::string&) override {}
    void ExitProgram() override { std::abort(); }
    int calls = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const bool slave = (data[0] & 1) != 0;
    const bool stranger = (data[0] & 2) != 0;
    const std::string datagram(reinterpret_cast<const char*>(data) + 1, size - 1);

    FixedClock clock;
    TimerRegistry timers;
    NoDialogs dialogs;
    Runtime rt;
    rt.config.CMain = slave ? 2 : 1;
    rt.config.IPAdd = "127.0.0.2";
    rt.config.Port1 = 10001;
    rt.config.Port2 = 10000;
    rt.config.LogLevel = 3;
    rt.commsText = ".";
    Context ctx{rt, clock, timers, dialogs, "."};
    MainWindowScreen main;
    QuietSocket socket;
    ImmediateResolver resolver;
    CountingHost host;
    ControlLink link(ctx, main, socket, resolver, host);
    link.BindControlSocket();

    socket.receiver(Datagram{stranger ? "127.0.0.3" : "127.0.0.2", datagram});

    const std::string& m = rt.commsText;
    if (m != "." && m != "C" && m != "E" && m != "") std::abort();
    if (CheckDatagram(datagram) == DatagramCheck::Valid &&
        (datagram.size() < 8 || datagram.back() != '>' || datagram[0] != '<')) {
        std::abort();
    }
    if (slave && stranger &&
        (m != "." || host.calls != 0 || socket.sent != 0 ||
         !main.control("Counter").caption.empty())) {
        std::abort();
    }
    return 0;
}
