#pragma once

#include <QNetworkAccessManager>
#include <QPointer>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "update/download_service.h"

class QNetworkReply;

namespace vespar::qt {

// Downloads over HTTP and HTTPS with Qt's network access on the event loop: redirects are
// followed (never from HTTPS down to HTTP), a fresh copy bypasses every cache, and a
// document longer than kDownloadLimitBytes fails rather than fill memory. Notices reach the
// core through the event sink, the front-end's event boundary.
class QtDownloadService : public DownloadService {
  public:
    using EventSink = std::function<void(const std::function<void()>&)>;

    explicit QtDownloadService(EventSink sink);
    ~QtDownloadService() override;
    QtDownloadService(const QtDownloadService&) = delete;
    QtDownloadService& operator=(const QtDownloadService&) = delete;

    void Start(const std::string& name, const std::string& url, int mode,
               DownloadReceiver& receiver) override;
    void Cancel(const std::string& name) override;

  private:
    struct Download {
        QPointer<QNetworkReply> reply;
        DownloadReceiver* receiver = nullptr;
        std::vector<unsigned char> body;
    };
    void ReadyRead(const std::string& name);
    void Finished(const std::string& name);
    // Takes the download out of the table (its reply goes too) and reports its failure.
    void Fail(const std::string& name, long number, const std::string& description);
    // Appends what the reply has; false when the document grew past the limit.
    bool Take(Download& d);
    void Post(std::function<void()> notice);

    QNetworkAccessManager manager_;
    std::map<std::string, Download> downloads_;
    EventSink sink_;
};

}  // namespace vespar::qt
