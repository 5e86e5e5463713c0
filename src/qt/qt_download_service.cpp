#include "qt/qt_download_service.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace vespar::qt {

namespace {

// The error numbers of a download that never reached the network.
constexpr long kUnsupportedAddress = 301;  // QNetworkReply::ProtocolUnknownError
constexpr long kTooLong = 299;             // QNetworkReply::UnknownContentError
constexpr qint64 kReadChunk = 64 * 1024;

void Drop(QNetworkReply* reply) {
    if (reply == nullptr) return;
    QObject::disconnect(reply, nullptr, nullptr, nullptr);
    reply->abort();
    reply->deleteLater();
}

}  // namespace

QtDownloadService::QtDownloadService(EventSink sink) : sink_(std::move(sink)) {
    // Redirects are followed as long as they do not leave HTTPS for HTTP.
    manager_.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

QtDownloadService::~QtDownloadService() {
    for (auto& [name, d] : downloads_) Drop(d.reply);
}

void QtDownloadService::Post(std::function<void()> notice) { sink_(notice); }

void QtDownloadService::Start(const std::string& name, const std::string& url, int mode,
                              DownloadReceiver& receiver) {
    Cancel(name);
    Download& d = downloads_[name];
    d.receiver = &receiver;
    const QUrl address(QString::fromStdString(url));
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || (scheme != "http" && scheme != "https")) {
        // Reported from the event loop, as every other outcome.
        QTimer::singleShot(0, &manager_, [this, name, url] {
            auto it = downloads_.find(name);
            if (it != downloads_.end() && it->second.reply == nullptr) {
                Fail(name, kUnsupportedAddress, "Not an HTTP or HTTPS address: " + url);
            }
        });
        return;
    }
    QNetworkRequest request(address);
    request.setMaximumRedirectsAllowed(10);
    if ((mode & kDownloadFreshCopy) != 0) {
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::AlwaysNetwork);
        // Proxies on the way are asked for a fresh copy too.
        request.setRawHeader("Cache-Control", "no-cache");
        request.setRawHeader("Pragma", "no-cache");
    }
    QNetworkReply* reply = manager_.get(request);
    reply->setReadBufferSize(kReadChunk);
    d.reply = reply;
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [this, name] { ReadyRead(name); });
    QObject::connect(reply, &QNetworkReply::finished, reply, [this, name] { Finished(name); });
}

void QtDownloadService::Cancel(const std::string& name) {
    auto it = downloads_.find(name);
    if (it == downloads_.end()) return;
    QPointer<QNetworkReply> reply = it->second.reply;
    downloads_.erase(it);
    Drop(reply);
}

bool QtDownloadService::Take(Download& d) {
    const QByteArray chunk = d.reply->read(static_cast<qint64>(kDownloadLimitBytes) + 1 -
                                           static_cast<qint64>(d.body.size()));
    d.body.insert(d.body.end(), chunk.begin(), chunk.end());
    return d.body.size() <= kDownloadLimitBytes &&
           d.body.size() + d.reply->bytesAvailable() <= kDownloadLimitBytes;
}

void QtDownloadService::ReadyRead(const std::string& name) {
    auto it = downloads_.find(name);
    if (it == downloads_.end() || it->second.reply == nullptr) return;
    Download& d = it->second;
    const std::size_t before = d.body.size();
    if (!Take(d)) {
        Fail(name, kTooLong, "The document is longer than 1 MiB.");
        return;
    }
    if (d.body.size() == before) return;
    DownloadReceiver* receiver = d.receiver;
    const std::vector<unsigned char> bytes = d.body;
    Post([receiver, name, bytes] { receiver->DownloadProgressed(name, bytes); });
}

void QtDownloadService::Finished(const std::string& name) {
    auto it = downloads_.find(name);
    if (it == downloads_.end() || it->second.reply == nullptr) return;
    Download& d = it->second;
    QNetworkReply* reply = d.reply;
    if (reply->error() != QNetworkReply::NoError) {
        // An HTTP error is numbered by its status, a network error by Qt's code.
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        const long number = status.isValid() ? status.toInt() : static_cast<long>(reply->error());
        Fail(name, number, reply->errorString().toStdString());
        return;
    }
    if (!Take(d)) {
        Fail(name, kTooLong, "The document is longer than 1 MiB.");
        return;
    }
    DownloadReceiver* receiver = d.receiver;
    const std::vector<unsigned char> bytes = std::move(d.body);
    downloads_.erase(it);
    reply->deleteLater();
    Post([receiver, name, bytes] { receiver->DownloadCompleted(name, bytes); });
}

void QtDownloadService::Fail(const std::string& name, long number, const std::string& description) {
    auto it = downloads_.find(name);
    if (it == downloads_.end()) return;
    DownloadReceiver* receiver = it->second.receiver;
    QPointer<QNetworkReply> reply = it->second.reply;
    downloads_.erase(it);
    Drop(reply);
    Post([receiver, name, number, description] {
        receiver->DownloadNotDelivered(name, number, description);
    });
}

}  // namespace vespar::qt
