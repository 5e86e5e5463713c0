#include "platform/linux/desktop_url_opener.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fakes/temp_program_folder.h"
#include "platform/linux/editor_viewer.h"
#include "test_servers.h"

namespace vespar::linux_platform {
namespace {

// Both start a program of the desktop's, detached, and reap it later.
TEST(DesktopUrlOpenerTest, StartsTheHandlerWithTheAddressAsItsOnlyArgumentOrGivesAFailure) {
    test::TempProgramFolder folder;
    const auto script = folder.path() / "opener.sh";
    const auto out = folder.path() / "opened.txt";
    folder.WriteFile(script, "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > " + out.string() + "\n");
    ASSERT_EQ(chmod(script.c_str(), 0700), 0);
    DesktopUrlOpener opener(script.string());
    const std::string url = "https://vespar.invalid/a b?x=1&y=$(id)";
    EXPECT_EQ(opener.Open(url), kUrlOpenStarted);
    ASSERT_TRUE(test::PollUntil([&] { return opener.Reap() == 0; }));  // every handler ended
    EXPECT_EQ(folder.ReadFile(out), "1|" + url);
    // An address the handler would read as an option is never passed on.
    EXPECT_LT(opener.Open("--help"), kUrlOpenLowestSuccess);
    EXPECT_LT(opener.Open(""), kUrlOpenLowestSuccess);
    EXPECT_EQ(opener.Reap(), 0u);

    ASSERT_EQ(chmod(script.c_str(), 0600), 0);
    EXPECT_EQ(opener.Open(url), kUrlOpenAccessDenied);
    DesktopUrlOpener missing("vespar-no-such-url-handler");
    EXPECT_EQ(missing.Open(url), kUrlOpenFileNotFound);
    EXPECT_EQ(missing.Reap(), 0u);

    EXPECT_FALSE(EditorViewer("vespar-no-such-viewer").Open("/tmp/Vespar.log"));
    // "true" stands in for the desktop opener: it starts and ends at once.
    EditorViewer viewer("true");
    ASSERT_TRUE(viewer.Open("/nonexistent/Vespar.log"));
    EXPECT_TRUE(test::PollUntil([&] { return viewer.Reap() == 0; }));
}

}  // namespace
}  // namespace vespar::linux_platform
