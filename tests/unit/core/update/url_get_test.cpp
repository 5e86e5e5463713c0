#include "update/url_get.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/fake_clock.h"
#include "fakes/fake_download_service.h"

namespace vespar::test {
namespace {

struct UrlGetTest : ::testing::Test {
    FakeClock clock;
    FakeDownloadService service;
    std::vector<std::string> events;
    UrlGet get{service,
               clock,
               {[this](long n) { events.push_back("complete " + std::to_string(n)); },
                [this](long n, const std::string& d) {
                    events.push_back("failed " + std::to_string(n) + " " + d);
                },
                [this](long n) { events.push_back("progress " + std::to_string(n)); }}};
};

TEST_F(UrlGetTest, CompletionEndsBusyWithDurationAndBytes) {
    clock.AdvanceMs(5000);
    get.DownloadStart("http://127.0.0.1/a", kDownloadFreshCopy);
    ASSERT_EQ(service.started.size(), 1u);
    EXPECT_EQ(std::tie(service.started[0].name, service.started[0].mode),
              std::tuple("5000", kDownloadFreshCopy));
    clock.AdvanceMs(300);
    service.Progress("ab");
    EXPECT_EQ(std::tuple(get.Busy(), get.Duration()), std::tuple(true, 0));
    clock.AdvanceMs(120);
    service.Complete("abcd");
    EXPECT_EQ(std::tuple(get.Busy(), get.Duration(), get.Bytes()),
              std::tuple(false, 420, std::vector<unsigned char>{'a', 'b', 'c', 'd'}));
    EXPECT_EQ(events, (std::vector<std::string>{"progress 2", "complete 4"}));
}

TEST_F(UrlGetTest, EmptyDocumentCompletesWithZeroAndFailureKeepsNoBytes) {
    get.DownloadStart("http://127.0.0.1/empty");
    EXPECT_TRUE(get.Busy());  // also when started at tick 0
    service.Complete("");
    get.DownloadStart("http://127.0.0.1/gone");
    service.Progress("partial");
    service.Fail(404, "Not Found");
    EXPECT_FALSE(get.Busy());
    EXPECT_TRUE(get.Bytes().empty());
    EXPECT_EQ(events,
              (std::vector<std::string>{"complete 0", "progress 7", "failed 404 Not Found"}));
}

}  // namespace
}  // namespace vespar::test
