#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "update/download_service.h"

namespace vespar {

// urlGet: downloads one URL into memory without blocking the user interface and turns the
// download service's notices into its own events. Every event runs on the user-interface
// thread, inside the service's notice.
class UrlGet : private DownloadReceiver {
  public:
    struct Events {
        std::function<void(long byteCount)> downloadComplete;
        std::function<void(long number, const std::string& description)> downloadFailed;
        std::function<void(long byteCount)> downloadProgress;
    };

    UrlGet(DownloadService& service, const Clock& clock, Events events);
    ~UrlGet() override;
    UrlGet(const UrlGet&) = delete;
    UrlGet& operator=(const UrlGet&) = delete;

    bool Busy() const { return busy_; }
    std::vector<unsigned char> Bytes() const { return bytes_; }
    long Duration() const { return duration_; }

    // Starts a download of url (nothing when it is empty), cancelling a running one first.
    void DownloadStart(const std::string& url, int mode = 0);
    // Cancels the running download; Busy stays true until the next start.
    void DownloadCancel();

  private:
    void DownloadProgressed(const std::string& name,
                            const std::vector<unsigned char>& bytes) override;
    void DownloadCompleted(const std::string& name,
                           const std::vector<unsigned char>& bytes) override;
    void DownloadNotDelivered(const std::string& name, long number,
                              const std::string& description) override;
    // True when the notice is of the running download; it then is no longer running.
    bool Finished(const std::string& name);

    DownloadService& service_;
    const Clock& clock_;
    Events events_;
    std::int64_t startTick_ = 0;
    // Kept apart from the start tick, which may itself be 0 right after the clock starts.
    bool busy_ = false;
    std::string name_;
    std::vector<unsigned char> bytes_;
    long duration_ = 0;
};

}  // namespace vespar
