#include "platform/linux/editor_viewer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace vespar::linux_platform {
namespace {

TEST(EditorViewerTest, StartsTheViewerAndReapsItLater) {
    EXPECT_FALSE(EditorViewer("vespar-no-such-viewer").Open("/tmp/Vespar.log"));
    // "true" stands in for the desktop opener: it starts and ends at once.
    EditorViewer viewer("true");
    ASSERT_TRUE(viewer.Open("/nonexistent/Vespar.log"));
    std::size_t running = viewer.Reap();
    for (int i = 0; i < 500 && running > 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        running = viewer.Reap();
    }
    EXPECT_EQ(running, 0u);
}

}  // namespace
}  // namespace vespar::linux_platform
