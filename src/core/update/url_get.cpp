#include "update/url_get.h"

#include <exception>
#include <utility>

namespace vespar {

UrlGet::UrlGet(DownloadService& service, const Clock& clock, Events events)
    : service_(service), clock_(clock), events_(std::move(events)) {}

UrlGet::~UrlGet() {
    // The service must not report to a receiver that is gone.
    if (busy_) service_.Cancel(name_);
}

void UrlGet::DownloadStart(const std::string& url, int mode) {
    if (url.empty()) return;
    if (busy_) DownloadCancel();
    duration_ = 0;
    startTick_ = clock_.tickMs();
    busy_ = true;
    name_ = std::to_string(startTick_);
    try {
        service_.Start(name_, url, mode, *this);
    } catch (const std::exception&) {
        // A download that could not start never reports; the caller's own time-out ends it.
    }
}

void UrlGet::DownloadCancel() {
    try {
        service_.Cancel(name_);
    } catch (const std::exception&) {
    }
}

bool UrlGet::Finished(const std::string& name) {
    if (!busy_ || name != name_) return false;
    const std::int64_t elapsed = clock_.tickMs() - startTick_;
    duration_ = static_cast<long>(elapsed < 0 ? -elapsed : elapsed);
    busy_ = false;
    startTick_ = 0;
    return true;
}

void UrlGet::DownloadProgressed(const std::string& name, const std::vector<unsigned char>& bytes) {
    if (!busy_ || name != name_) return;
    bytes_ = bytes;
    if (events_.downloadProgress) events_.downloadProgress(static_cast<long>(bytes_.size()));
}

void UrlGet::DownloadCompleted(const std::string& name, const std::vector<unsigned char>& bytes) {
    if (!Finished(name)) return;
    bytes_ = bytes;
    if (events_.downloadComplete) events_.downloadComplete(static_cast<long>(bytes_.size()));
}

void UrlGet::DownloadNotDelivered(const std::string& name, long number,
                                  const std::string& description) {
    if (!Finished(name)) return;
    bytes_.clear();
    if (events_.downloadFailed) events_.downloadFailed(number, description);
}

}  // namespace vespar
