#include "ui/web_site.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

#include "base/system_error.h"
#include "base/text.h"
#include "fakes/fake_host.h"
#include "fakes/fake_ui_ports.h"

namespace vespar::test {

namespace {

MessageBox ErrorBox(const std::string& text) {
    return MessageBox{"Vespar Error", text, Icon::None, Buttons::Ok, 0};
}

}  // namespace

TEST(WebSiteTest, OpensThePageBelowTheSiteAndReportsABrowserThatWouldNotStart) {
    FakeHost fh;
    // The message titles name the product, also on a slave.
    fh.rt.programTitle = "Vespar Slave";
    FakeUrlOpener opener;
    LaunchWebSite(fh.ctx, opener, "");
    LaunchWebSite(fh.ctx, opener, "software/vespar/history.htm");
    EXPECT_EQ(opener.opened,
              (std::vector<std::string>{
                  kWebSiteBase, std::string(kWebSiteBase) + "software/vespar/history.htm"}));
    EXPECT_TRUE(fh.dialogs.shown.empty());

    const struct {
        int result;
        bool fails;
    } results[] = {{kUrlOpenLowestSuccess, false},
                   {1000, false},
                   {0, true},
                   {kUrlOpenFileNotFound, true},
                   {kUrlOpenNoAssociation, true}};
    for (const auto& r : results) {
        fh.dialogs.shown.clear();
        opener.result = r.result;
        LaunchWebSite(fh.ctx, opener, "");
        EXPECT_EQ(fh.dialogs.shown.size(), r.fails ? 1u : 0u) << r.result;
        if (r.fails && !fh.dialogs.shown.empty()) {
            EXPECT_EQ(fh.dialogs.shown[0], ErrorBox("Unable to launch Browser."));
        }
    }
}

TEST(WebSiteTest, FaultsOnTheWayAreReportedWithNumberAndDescription) {
    FakeHost fh;
    FakeUrlOpener opener;
    opener.fault = [] { throw SystemError(1155, "Shell", "No application is associated."); };
    LaunchWebSite(fh.ctx, opener, "");
    opener.fault = [] {
        throw std::system_error(std::make_error_code(std::errc::permission_denied));
    };
    LaunchWebSite(fh.ctx, opener, "");
    opener.fault = [] { throw std::runtime_error("bad address"); };
    LaunchWebSite(fh.ctx, opener, "");
    ASSERT_EQ(fh.dialogs.shown.size(), 3u);
    EXPECT_EQ(fh.dialogs.shown[0],
              ErrorBox(JoinCrLf({"A program error has occured", "Error Number: 1155",
                                 "Error description: No application is associated."})));
    EXPECT_EQ(
        fh.dialogs.shown[1],
        ErrorBox(JoinCrLf({"A program error has occured", "Error Number: " + std::to_string(EACCES),
                           "Error description: " +
                               std::make_error_code(std::errc::permission_denied).message()})));
    EXPECT_EQ(fh.dialogs.shown[2], ErrorBox("A program error has occured\r\nError Number: 0\r\n"
                                            "Error description: bad address"));
}

}  // namespace vespar::test
