#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "net_test_support.h"
#include "win32/net/winhttp_download_service.h"

namespace vespar::win32::test {
namespace {

struct Notices : DownloadReceiver {
    std::vector<std::string> seen;  // "progress", "complete" or "failed <number>"
    std::string body;
    std::string failure;
    void DownloadProgressed(const std::string&, const std::vector<unsigned char>&) override {
        if (seen.empty() || seen.back() != "progress") seen.push_back("progress");
    }
    void DownloadCompleted(const std::string&, const std::vector<unsigned char>& bytes) override {
        seen.push_back("complete");
        body.assign(bytes.begin(), bytes.end());
    }
    void DownloadNotDelivered(const std::string&, long number,
                              const std::string& description) override {
        seen.push_back("failed " + std::to_string(number));
        failure = description;
    }
    bool Ended() const { return !seen.empty() && seen.back() != "progress"; }
};

// Downloads from the stand-in web site that scripts/win_net_test.sh starts.
class WinHttpDownloadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* port = std::getenv("VESPAR_TEST_WEB_PORT");
        if (port == nullptr)
            GTEST_SKIP() << "run by scripts/win_net_test.sh, which starts the site";
        base = std::string("http://127.0.0.1:") + port + "/";
    }
    Notices Fetch(const std::string& url, int mode = 0) {
        Notices n;
        service.Start("1", url, mode, n);
        EXPECT_TRUE(n.seen.empty());  // never from inside Start
        EXPECT_TRUE(PumpUntil([&] { return n.Ended(); })) << url;
        return n;
    }

    MessageWindow window;
    CountingSink events;
    WinHttpDownloadService service{window, events.sink()};
    std::string base;
};

TEST_F(WinHttpDownloadTest, DocumentsRedirectsFailuresAndCancelledDownloads) {
    // A fresh copy bypasses caches; the site's echo gives back the request.
    const struct {
        std::string path;
        int mode;
        std::vector<std::string> seen;
        std::string bodyHas;
    } cases[] = {
        {"newer/v.xml", 0, {"progress", "complete"}, "<Version1>6.0</Version1>"},
        {"redirect/v.xml", 0, {"progress", "complete"}, "<Version1>6.0</Version1>"},
        {"echo/", kDownloadFreshCopy, {"progress", "complete"}, "Cache-Control: no-cache"},
        {"nothing-here", 0, {"failed 404"}, ""},
        {"huge/v.xml", 0, {"progress", "failed 299"}, ""},
    };
    for (const auto& c : cases) {
        const Notices n = Fetch(base + c.path, c.mode);
        EXPECT_EQ(n.seen, c.seen) << c.path << ": " << n.failure;
        EXPECT_NE(n.body.find(c.bodyHas), std::string::npos) << c.path;
    }
    EXPECT_EQ(Fetch("ftp://127.0.0.1/x").seen, std::vector<std::string>{"failed 301"});
    // Nobody listens on port 1 of 127.0.0.1: a WinHTTP error number, with its text.
    const Notices refused = Fetch("http://127.0.0.1:1/");
    ASSERT_EQ(refused.seen.size(), 1u);
    EXPECT_EQ(refused.seen[0].rfind("failed 12", 0), 0u) << refused.seen[0];
    EXPECT_FALSE(refused.failure.empty());

    // A cancelled download says nothing more.
    Notices silent;
    service.Start("silent", base + "silent/", 0, silent);
    Notices quick;
    service.Start("quick", base + "newer/v.xml", 0, quick);
    service.Cancel("silent");
    service.Cancel("unknown");
    ASSERT_TRUE(PumpUntil([&] { return quick.Ended(); }));
    PumpUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_TRUE(silent.seen.empty());
    EXPECT_EQ(quick.seen.back(), "complete");
}

}  // namespace
}  // namespace vespar::win32::test
