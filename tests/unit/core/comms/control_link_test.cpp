#include "comms/control_link.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "base/program_exit.h"
#include "fakes/fake_host.h"
#include "fakes/fake_network.h"

namespace vespar {
namespace {

using Calls = std::vector<std::string>;

struct RecordingHost : LinkHost {
    void HeardFromMaster() override { calls.push_back("heard"); }
    void ResetCommand() override { calls.push_back("reset"); }
    void TestCommand() override { calls.push_back("test"); }
    void WriteLogEntry(const std::string& e, const std::string& s) override {
        calls.push_back(e + " " + s);
    }
    void ExitProgram() override { throw ProgramExit{0}; }
    Calls calls;
};

// One computer at 127.0.0.1 paired with partner; ports 10001 (Port1) and 10000 (Port2).
struct LinkRig {
    LinkRig(int cmain, const std::string& partner) {
        Configuration& c = fh.rt.config;
        c.CMain = static_cast<std::int16_t>(cmain);
        c.IPAdd = partner;
        c.Port1 = 10001;
        c.Port2 = 10000;
        c.LogLevel = 3;
        fh.rt.programTitle = cmain == 2 ? "Vespar Slave" : "Vespar";
        fh.rt.pendingMessage = "<QZC000>";
    }
    void Reload() {
        link.BindControlSocket();
        net.Run();
    }
    // A datagram arrives from sender; returns the host's calls it made.
    Calls Arrive(const std::string& data, const std::string& sender = "127.0.0.2") {
        host.calls.clear();
        me.socket.Arrive(sender, data);
        net.Run();
        return host.calls;
    }
    // "address:port data" of every datagram sent.
    Calls Sent() const {
        Calls sent;
        for (const auto& s : me.socket.sent)
            sent.push_back(s.to + ":" + std::to_string(s.port) + " " + s.data);
        return sent;
    }
    const Control& counter() { return main.control("Counter"); }

    test::FakeHost fh;
    MainWindowScreen main;
    test::FakeNetwork net;
    test::FakeNetworkPorts me{net, "127.0.0.1"};
    RecordingHost host;
    ControlLink link{fh.ctx, main, me.socket, me.resolver, host};
};

// Binds and sends by role; sends once the partner's name is resolved, then replaces the
// message by the status.
TEST(ControlLink, BindsResolvesAndSendsByRole) {
    LinkRig alone(1, "");  // no partner: nothing bound
    alone.Reload();
    EXPECT_TRUE(alone.me.socket.binds.empty());

    LinkRig rig(1, "slave.lan");
    rig.fh.rt.shutTypeName = "Reboot";
    rig.fh.rt.monitorState = MonitorState::Run;
    rig.fh.clock.AdvanceMs(1000);
    rig.Reload();
    rig.Reload();
    // The name is not resolved: the message waits; it is looked up again 5 s later only.
    rig.net.names["slave.lan"] = {"::1", "127.0.0.2"};
    rig.fh.clock.AdvanceMs(4999);
    rig.link.SendDatagram();
    rig.net.Run();
    EXPECT_EQ(rig.fh.rt.pendingMessage, "<QZC000>");
    EXPECT_EQ(rig.me.resolver.looked.size(), 2u);  // once at each reload
    rig.fh.clock.AdvanceMs(1);
    rig.link.SendDatagram();
    rig.net.Run();
    EXPECT_EQ(rig.me.resolver.looked.size(), 3u);
    EXPECT_TRUE(rig.me.socket.sent.empty());
    rig.link.SendDatagram();
    rig.fh.rt.config.IPAdd = "";  // the binding stays
    rig.Reload();
    rig.fh.rt.config.IPAdd = "slave.lan";
    rig.fh.rt.config.CMain = 2;  // now a slave: binds Port1, sends to Port2
    rig.Reload();
    rig.link.SendDatagram();
    EXPECT_EQ(rig.me.socket.binds, (std::vector<int>{10000, 10001}));
    // IPv4 first.
    EXPECT_EQ(rig.Sent(), (Calls{"127.0.0.2:10001 <QZC000>", "127.0.0.2:10000 <QZR100>"}));
}

TEST(ControlLink, TakenPortAsksWhetherToEnd) {
    LinkRig rig(2, "127.0.0.2");
    rig.net.taken = {10001, 10007};
    rig.fh.dialogs.answers = {Answer::No};
    rig.Reload();
    EXPECT_EQ(rig.fh.dialogs.shown,
              (std::vector<MessageBox>{{"Vespar Slave Port Error",
                                        "The RX Port 10001 Is Already In Use\r\nThis Error Must "
                                        "Be Resolved Before\r\nYou Can Use Vespar.\r\nUse The "
                                        "Configuration Screen\r\nTo Change The RX Port.\r\nDo "
                                        "You Want To End The Program?",
                                        Icon::Exclamation, Buttons::YesNo}}));
    EXPECT_TRUE(rig.fh.rt.portFailed);
    // The same port is not tried again by a later reload.
    rig.fh.rt.portFailed = false;
    rig.Reload();
    EXPECT_EQ(rig.me.socket.binds.size(), 1u);
    EXPECT_FALSE(rig.fh.rt.portFailed);
    rig.fh.rt.config.Port1 = 10007;
    EXPECT_THROW(rig.Reload(), ProgramExit);  // Yes ends the program
}

// A slave acts on its master's datagrams; a master only marks what arrived. In this order,
// since a counter error once shown stays.
TEST(ControlLink, ReceiverBySlaveAndMaster) {
    const Calls heard = {"heard"};
    // The datagram; the comms text on both; on the slave, the counter's error text ("" when
    // left alone) and the host's calls.
    const std::tuple<std::string, const char*, const char*, Calls> cases[] = {
        {"<QZC000>", "C", "", {"heard", "reset"}},
        {"<QZT000>", "C", "", {"heard", "test"}},
        {"<QZP100>", "C", "", heard},
        {"<QZA100>", "C", "", heard},  // the slave sends its own message back
        {"<QZP100", "E", "Connection Error", heard},
        {"<QZP1ab>", ".", "Not connexted", heard},
    };
    LinkRig slave(2, "127.0.0.2"), master(1, "127.0.0.2");
    slave.Reload();
    master.Reload();
    for (const auto& [data, comms, counter, calls] : cases) {
        SCOPED_TRACE(data);
        EXPECT_EQ(slave.Arrive(data), calls);
        EXPECT_EQ(slave.fh.rt.commsText, comms);
        EXPECT_EQ(slave.counter().caption, counter);
        EXPECT_EQ(slave.counter().bold && slave.counter().foreColor == kOrange, *counter != '\0');
        EXPECT_EQ(master.Arrive(data), Calls{});
        EXPECT_EQ(master.fh.rt.commsText, comms);  // and nothing else: no host call is made
    }
    EXPECT_EQ(slave.Sent(), Calls{"127.0.0.2:10000 <QZC000>"});
}

TEST(ControlLink, SlaveHearsOnlyTheAddressesOfItsMaster) {
    LinkRig rig(2, "master.lan");
    rig.net.names["master.lan"] = {"127.0.0.5"};
    rig.fh.rt.monitorState = MonitorState::Run;
    rig.Reload();
    const Calls ignored = {"Ignored Run"};
    EXPECT_EQ(rig.Arrive("<QZC000>", "127.0.0.2"), ignored);
    EXPECT_EQ(rig.Arrive("<QZT000>", "127.0.0.2"), Calls{});  // noted once
    EXPECT_EQ(rig.Arrive("<QZ", "127.0.0.3"), ignored);       // not even heard
    EXPECT_EQ(rig.Arrive("<QZC000>", "127.0.0.5"), (Calls{"heard", "reset"}));

    rig.fh.rt.config.LogLevel = 2;  // noted at the Full level only
    EXPECT_EQ(rig.Arrive("<QZC000>", "127.0.0.4"), Calls{});
}

}  // namespace
}  // namespace vespar
