#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <winhttp.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "update/download_service.h"
#include "win32/net/message_window.h"

namespace vespar::win32 {

// Downloads over HTTP and HTTPS with WinHTTP's asynchronous requests: redirects are followed
// (never from HTTPS down to HTTP), a fresh copy asks every cache on the way to step aside,
// and a document longer than kDownloadLimitBytes fails rather than fill memory. WinHTTP
// reports on its own threads; each report is posted to the message window and handled on
// the user-interface thread, and the notices reach the core through the event sink, the
// front-end's event boundary.
class WinHttpDownloadService : public DownloadService {
  public:
    using EventSink = std::function<void(const std::function<void()>&)>;

    WinHttpDownloadService(MessageWindow& window, EventSink sink);
    ~WinHttpDownloadService() override;
    WinHttpDownloadService(const WinHttpDownloadService&) = delete;
    WinHttpDownloadService& operator=(const WinHttpDownloadService&) = delete;

    void Start(const std::string& name, const std::string& url, int mode,
               DownloadReceiver& receiver) override;
    void Cancel(const std::string& name) override;

    // What WinHTTP reported, as handled on the user-interface thread.
    enum class Report { Sent, Headers, DataAvailable, ReadComplete, Error };

  private:
    struct Transfer;
    struct Download {
        std::uint64_t id = 0;
        std::string url;
        HINTERNET connection = nullptr;
        HINTERNET request = nullptr;
        Transfer* transfer = nullptr;  // WinHTTP's until the request handle closes
        DownloadReceiver* receiver = nullptr;
        std::vector<unsigned char> body;
    };
    static void CALLBACK OnStatus(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info,
                                  DWORD length);
    struct Failure {
        long number = 0;
        std::string description;
    };
    // Opens and sends the request; what failed otherwise.
    std::optional<Failure> Open(Download& d, int mode);
    void Handle(std::uint64_t id, Report report, DWORD value);
    void Fail(const std::string& name, long number, const std::string& description);
    void FailWithLastError(const std::string& name);
    static void Close(Download& d);
    void Post(std::function<void()> notice);

    MessageWindow& window_;
    EventSink sink_;
    HINTERNET session_ = nullptr;
    std::map<std::string, Download> downloads_;
    std::uint64_t nextId_ = 1;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vespar::win32
