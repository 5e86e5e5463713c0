#pragma once

#include <map>
#include <string>
#include <vector>

#include "update/download_service.h"

namespace vespar::test {

// Records every download and answers only when the test says so, as a server would.
class FakeDownloadService : public DownloadService {
  public:
    struct Request {
        std::string name, url;
        int mode = 0;
    };

    void Start(const std::string& name, const std::string& url, int mode,
               DownloadReceiver& receiver) override {
        started.push_back({name, url, mode});
        running_[name] = &receiver;
    }
    void Cancel(const std::string& name) override {
        cancelled.push_back(name);
        running_.erase(name);
    }

    bool Running() const { return !running_.empty(); }
    // Notices for the latest download still running.
    void Progress(const std::string& text) {
        if (auto* r = Latest()) r->DownloadProgressed(started.back().name, Bytes(text));
    }
    void Complete(const std::string& text) {
        if (auto* r = Take()) r->DownloadCompleted(started.back().name, Bytes(text));
    }
    void Fail(long number, const std::string& description) {
        if (auto* r = Take()) r->DownloadNotDelivered(started.back().name, number, description);
    }

    std::vector<Request> started;
    std::vector<std::string> cancelled;

  private:
    static std::vector<unsigned char> Bytes(const std::string& s) { return {s.begin(), s.end()}; }
    DownloadReceiver* Latest() {
        const auto it = started.empty() ? running_.end() : running_.find(started.back().name);
        return it == running_.end() ? nullptr : it->second;
    }
    DownloadReceiver* Take() {
        DownloadReceiver* r = Latest();
        if (r != nullptr) running_.erase(started.back().name);
        return r;
    }
    std::map<std::string, DownloadReceiver*> running_;
};

}  // namespace vespar::test
