#include "platform/linux/editor_viewer.h"

#include <gtest/gtest.h>

#include "test_servers.h"

namespace vespar::linux_platform {
namespace {

TEST(EditorViewerTest, StartsTheViewerAndReapsItLater) {
    EXPECT_FALSE(EditorViewer("vespar-no-such-viewer").Open("/tmp/Vespar.log"));
    // "true" stands in for the desktop opener: it starts and ends at once.
    EditorViewer viewer("true");
    ASSERT_TRUE(viewer.Open("/nonexistent/Vespar.log"));
    EXPECT_TRUE(test::PollUntil([&] { return viewer.Reap() == 0; }));
}

}  // namespace
}  // namespace vespar::linux_platform
