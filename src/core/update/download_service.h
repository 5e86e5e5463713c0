#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vespar {

// Download options: fetch a fresh copy, never one from a cache.
inline constexpr int kDownloadFreshCopy = 16;
// The most a download may hold; a longer document is a failed download.
inline constexpr std::size_t kDownloadLimitBytes = std::size_t{1} << 20;

// Receives the notices of the downloads it started, each under its registration name.
class DownloadReceiver {
  public:
    virtual ~DownloadReceiver() = default;
    // The bytes received so far.
    virtual void DownloadProgressed(const std::string& name,
                                    const std::vector<unsigned char>& bytes) = 0;
    // The whole document.
    virtual void DownloadCompleted(const std::string& name,
                                   const std::vector<unsigned char>& bytes) = 0;
    // The document could not be had (unreachable site, an HTTP error, too long).
    virtual void DownloadNotDelivered(const std::string& name, long number,
                                      const std::string& description) = 0;
};

// The platform's asynchronous download service: reads a URL into memory in the background
// and reports on the user-interface thread. Notices never arrive from inside Start or Cancel;
// a download ends with exactly one completion or failure, and a cancelled one says nothing
// more.
class DownloadService {
  public:
    virtual ~DownloadService() = default;
    // Starts reading url, registered under name. May throw; the caller ignores it.
    virtual void Start(const std::string& name, const std::string& url, int mode,
                       DownloadReceiver& receiver) = 0;
    // Cancels the download registered under name; an unknown name is ignored.
    virtual void Cancel(const std::string& name) = 0;
};

}  // namespace vespar
