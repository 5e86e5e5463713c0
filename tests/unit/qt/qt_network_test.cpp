// The program's UDP socket and name lookups on real sockets, on loopback addresses only.

#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "qt/qt_datagram_socket.h"
#include "qt/qt_host_resolver.h"

namespace vespar::qt {
namespace {

// A port nobody holds right now.
int FreePort() {
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

}  // namespace

class QtNetworkTest : public QObject {
    Q_OBJECT

  private slots:
    void datagramsTravelWholeToAPortOfTheirOwn();
    void lookupsAnswerLater();

  private:
    // Counts the events that went through the boundary and runs them.
    QtDatagramSocket::EventSink Boundary() {
        events = 0;
        return [this](const std::function<void()>& e) {
            ++events;
            e();
        };
    }
    int events = 0;
};

void QtNetworkTest::datagramsTravelWholeToAPortOfTheirOwn() {
    QUdpSocket holder;  // another program on one address of the port
    QVERIFY(holder.bind(QHostAddress::LocalHost, 0));
    QtDatagramSocket second(Boundary());  // a second copy of the program on the same port
    QtDatagramSocket socket(Boundary());
    QVERIFY(!socket.Bind(holder.localPort()));
    QList<QByteArray> got, expected;  // "sender data" each
    socket.SetReceiver(
        [&](const Datagram& d) { got << QByteArray::fromStdString(d.sender + " " + d.data); });
    const int port = FreePort();
    QVERIFY(socket.Bind(port));
    QVERIFY(!second.Bind(port));

    QUdpSocket other;  // a computer at 127.0.0.2 on the loopback network
    QVERIFY(other.bind(QHostAddress("127.0.0.2"), 0));
    const std::vector<QByteArray> sent = {QByteArray("<QZP100>"), QByteArray("\0<QZ\xff\0", 6),
                                          QByteArray(), QByteArray(65507, 'x')};
    for (const QByteArray& d : sent) other.writeDatagram(d, QHostAddress::LocalHost, port);
    for (const QByteArray& d : sent) expected << "127.0.0.2 " + d;
    QTRY_COMPARE(got, expected);
    QCOMPARE(events, 4);  // one event each

    QVERIFY(socket.Send("127.0.0.2", other.localPort(), "<QZC000>"));
    QVERIFY(!socket.Send("partner.lan", other.localPort(), "<QZC000>"));  // numeric only
    QTRY_VERIFY(other.hasPendingDatagrams());
    QCOMPARE(other.receiveDatagram().data(), QByteArray("<QZC000>"));

    QVERIFY(socket.Bind(FreePort()));  // binding again lets the old port go
    QVERIFY(second.Bind(port));
}

void QtNetworkTest::lookupsAnswerLater() {
    QtHostResolver resolver(Boundary());
    std::map<std::string, std::vector<std::string>> answers;
    for (const char* name : {"127.0.0.1", "localhost", ""}) {
        resolver.Lookup(name,
                        [&answers, name](const std::vector<std::string>& a) { answers[name] = a; });
    }
    QCOMPARE(answers.size(), std::size_t{0});  // never from inside the call
    QTRY_COMPARE(answers.size(), std::size_t{3});
    QCOMPARE(events, 3);
    QCOMPARE(answers["127.0.0.1"], std::vector<std::string>{"127.0.0.1"});
    const auto& local = answers["localhost"];
    QVERIFY(std::find(local.begin(), local.end(), "127.0.0.1") != local.end() ||
            std::find(local.begin(), local.end(), "::1") != local.end());
    QVERIFY(answers[""].empty());
}

}  // namespace vespar::qt

QTEST_GUILESS_MAIN(vespar::qt::QtNetworkTest)
#include "qt_network_test.moc"
