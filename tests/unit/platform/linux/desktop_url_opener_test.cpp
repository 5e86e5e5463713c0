#include "platform/linux/desktop_url_opener.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fakes/temp_program_folder.h"
#include "test_servers.h"

namespace vespar::linux_platform {
namespace {

TEST(DesktopUrlOpenerTest, StartsTheHandlerWithTheAddressAsItsOnlyArgument) {
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
}

TEST(DesktopUrlOpenerTest, HandlerThatCannotStartGivesAFailureResult) {
    test::TempProgramFolder folder;
    DesktopUrlOpener missing("vespar-no-such-url-handler");
    EXPECT_EQ(missing.Open("https://vespar.invalid/"), kUrlOpenFileNotFound);
    EXPECT_EQ(missing.Reap(), 0u);

    const auto plain = folder.path() / "not-executable";
    folder.WriteFile(plain, "#!/bin/sh\n");
    ASSERT_EQ(chmod(plain.c_str(), 0600), 0);
    DesktopUrlOpener denied(plain.string());
    EXPECT_EQ(denied.Open("https://vespar.invalid/"), kUrlOpenAccessDenied);

    // An address the handler would read as an option is never passed on.
    DesktopUrlOpener real("true");
    EXPECT_LT(real.Open("--help"), kUrlOpenLowestSuccess);
    EXPECT_LT(real.Open(""), kUrlOpenLowestSuccess);
    EXPECT_EQ(real.Reap(), 0u);
}

}  // namespace
}  // namespace vespar::linux_platform
