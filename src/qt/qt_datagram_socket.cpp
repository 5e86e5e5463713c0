#include "qt/qt_datagram_socket.h"

#include <QNetworkDatagram>

namespace vespar::qt {

std::string AddressText(const QHostAddress& address) {
    bool v4 = false;
    const quint32 ip = address.toIPv4Address(&v4);
    return (v4 ? QHostAddress(ip) : address).toString().toStdString();
}

QtDatagramSocket::QtDatagramSocket(EventSink sink) : sink_(std::move(sink)) {
    QObject::connect(&socket_, &QUdpSocket::readyRead, [this] { ReadPending(); });
}

bool QtDatagramSocket::Bind(int port) {
    socket_.close();
    // All addresses, IPv6 and IPv4 alike, and no other socket on the same port: a second
    // program on the port must fail here rather than share the master's datagrams.
    const auto mode = QAbstractSocket::DontShareAddress;
    const auto p = static_cast<quint16>(port);
    if (socket_.bind(QHostAddress::Any, p, mode)) return true;
    if (socket_.error() == QAbstractSocket::AddressInUseError) return false;
    socket_.close();
    return socket_.bind(QHostAddress::AnyIPv4, p, mode);  // a system without IPv6
}

bool QtDatagramSocket::Send(const std::string& address, int port, const std::string& data) {
    const QHostAddress to(QString::fromStdString(address));
    if (to.isNull()) return false;
    const QByteArray bytes(data.data(), static_cast<qsizetype>(data.size()));
    return socket_.writeDatagram(bytes, to, static_cast<quint16>(port)) == bytes.size();
}

void QtDatagramSocket::ReadPending() {
    while (socket_.hasPendingDatagrams()) {
        const QNetworkDatagram received = socket_.receiveDatagram();
        if (!received.isValid()) break;
        const QByteArray& bytes = received.data();
        Datagram d{AddressText(received.senderAddress()),
                   std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()))};
        sink_([this, d = std::move(d)] {
            if (receiver_) receiver_(d);
        });
    }
}

}  // namespace vespar::qt
