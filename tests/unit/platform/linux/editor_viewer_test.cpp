#include "platform/linux/editor_viewer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace vespar::linux_platform {
namespace {

TEST(EditorViewerTest, StartsTheViewerAndReapsItLater) {
    // "true" stands in for the desktop opener: it starts and ends at once.
    EditorViewer viewer("true");
    ASSERT_TRUE(viewer.Open("/nonexistent/Vespar.log"));
    std::size_t running = 1;
    for (int i = 0; i < 500 && running > 0; ++i) {
        running = viewer.Reap();
        if (running > 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(running, 0u);
}

TEST(EditorViewerTest, MissingViewerCannotBeStarted) {
    EditorViewer viewer("vespar-no-such-viewer");
    EXPECT_FALSE(viewer.Open("/tmp/Vespar.log"));
    EXPECT_EQ(viewer.Reap(), 0u);
}

}  // namespace
}  // namespace vespar::linux_platform
