#include "ui/web_site.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "base/system_error.h"
#include "fakes/fake_host.h"
#include "fakes/fake_ui_ports.h"

namespace vespar::test {

TEST(WebSiteTest, OpensThePageBelowTheSiteAndReportsWhatKeptTheBrowserFromStarting) {
    FakeHost fh;
    // The message titles name the product, also on a slave.
    fh.rt.programTitle = "Vespar Slave";
    FakeUrlOpener opener;
    const auto errorBox = [](const std::string& text) {
        return std::vector{MessageBox{"Vespar Error", text, Icon::None, Buttons::Ok, 0}};
    };
    LaunchWebSite(fh.ctx, opener, "");
    LaunchWebSite(fh.ctx, opener, "software/vespar/history.htm");
    EXPECT_EQ(opener.opened,
              (std::vector<std::string>{
                  kWebSiteBase, std::string(kWebSiteBase) + "software/vespar/history.htm"}));
    EXPECT_TRUE(fh.dialogs.shown.empty());

    // clang-format off
    const std::pair<int, bool> results[] = {{kUrlOpenLowestSuccess, false}, {1000, false},
        {0, true}, {kUrlOpenFileNotFound, true}, {kUrlOpenNoAssociation, true}};
    // clang-format on
    for (const auto& [result, fails] : results) {
        fh.dialogs.shown.clear();
        opener.result = result;
        LaunchWebSite(fh.ctx, opener, "");
        EXPECT_EQ(fh.dialogs.shown,
                  fails ? errorBox("Unable to launch Browser.") : std::vector<MessageBox>{})
            << result;
    }

    // Faults on the way are reported with their number and description.
    const auto denied = std::make_error_code(std::errc::permission_denied);
    const struct {
        std::function<void()> fault;
        std::string number, description;
    } cases[] = {
        {[] { throw SystemError(1155, "Shell", "No application is associated."); }, "1155",
         "No application is associated."},
        {[&] { throw std::system_error(denied); }, std::to_string(EACCES), denied.message()},
        {[] { throw std::runtime_error("bad address"); }, "0", "bad address"}};
    for (const auto& k : cases) {
        fh.dialogs.shown.clear();
        opener.fault = k.fault;
        LaunchWebSite(fh.ctx, opener, "");
        EXPECT_EQ(fh.dialogs.shown, errorBox("A program error has occured\r\nError Number: " +
                                             k.number + "\r\nError description: " + k.description));
    }
}

}  // namespace vespar::test
