#include "qt/qt_host_resolver.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QTimer>
#include <vector>

#include "qt/qt_datagram_socket.h"

namespace vespar::qt {

void QtHostResolver::Lookup(const std::string& name, Answer answer) {
    const QString text = QString::fromStdString(name);
    // A numeric address answers for itself, without the reverse lookup Qt would make.
    if (const QHostAddress literal(text); !literal.isNull()) {
        QTimer::singleShot(0, &context_, [this, answer, a = AddressText(literal)] {
            sink_([&] { answer({a}); });
        });
        return;
    }
    QHostInfo::lookupHost(text, &context_, [this, answer](const QHostInfo& info) {
        std::vector<std::string> addresses;
        if (info.error() == QHostInfo::NoError) {
            for (const QHostAddress& a : info.addresses()) addresses.push_back(AddressText(a));
        }
        sink_([&] { answer(addresses); });
    });
}

}  // namespace vespar::qt
