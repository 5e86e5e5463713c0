#include "platform/linux/kernel_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "fakes/temp_program_folder.h"
#include "tree_writer.h"

namespace vespar::linux_platform {
namespace {

TEST(KernelText, ReadsTheWholeFileFromItsStartEachTimeAndFailsWithoutIt) {
    vespar::test::TempProgramFolder root;
    KernelTextFile file(root.path() / "file");
    std::string_view text;
    EXPECT_FALSE(file.Read(text));

    // Longer than any single read: a table of many interfaces or processors.
    std::string big;
    for (int i = 0; big.size() < 20000; ++i) big += "row " + std::to_string(i) + "\n";
    test::Put(root.path(), "file", big);
    ASSERT_TRUE(file.Read(text));
    EXPECT_EQ(text, big);
    // The file kept open gives its new, shorter text and nothing of the old.
    test::Put(root.path(), "file", "cpu 1 2\n");
    ASSERT_TRUE(file.Read(text));
    EXPECT_EQ(text, "cpu 1 2\n");
}

TEST(KernelText, SplitsLinesAndBlankSeparatedFields) {
    std::string_view rest = "a\n\n  b \t c\r\nlast";
    std::vector<std::string> lines;
    for (std::string_view line; NextLine(rest, line);) lines.emplace_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "", "  b \t c\r", "last"}));

    std::string_view fields = " \t eth0:  12\v\f34\r\n";
    std::vector<std::string> taken;
    for (std::string_view f; !(f = NextField(fields)).empty();) taken.emplace_back(f);
    EXPECT_EQ(taken, (std::vector<std::string>{"eth0:", "12", "34"}));
    EXPECT_TRUE(fields.empty());
}

}  // namespace
}  // namespace vespar::linux_platform
