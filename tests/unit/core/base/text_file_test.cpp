#include "base/text_file.h"

#include <gtest/gtest.h>

#include "fakes/temp_program_folder.h"

namespace vespar {
namespace {

TEST(TextFile, ResolvesConfiguredPathsBelowTheProgramFolder) {
    test::TempProgramFolder folder;
    const auto& dir = folder.path();
    // The same entry: a system that ignores case keeps the spelling as configured.
    const auto same = [](const std::filesystem::path& a, const std::filesystem::path& b) {
        return a.has_filename() == b.has_filename() &&
               std::filesystem::equivalent(a.has_filename() ? a : a.parent_path(),
                                           b.has_filename() ? b : b.parent_path());
    };
    EXPECT_EQ(ResolvePath(dir, "Log\\Vespar.log"), dir / "Log" / "Vespar.log");
    // Case differs from the folder on disk: the existing folder is found.
    EXPECT_TRUE(same(ResolvePath(dir, "data\\"), dir / "Data" / ""));
    EXPECT_TRUE(same(ResolvePath(dir, "DATA\\vespar.INI"), dir / "Data" / "Vespar.ini"));
    EXPECT_TRUE(same(ResolvePath(dir, ".\\data\\vespar.ini"), dir / "Data" / "Vespar.ini"));
    // Nothing to match: the path as written.
    EXPECT_EQ(ResolvePath(dir, ".\\Nowhere\\x.log"), dir / "Nowhere" / "x.log");
#ifdef _WIN32
    EXPECT_EQ(ResolvePath(dir, "D:\\a\\b.log"), std::filesystem::path("D:\\a\\b.log"));
#else
    EXPECT_EQ(ResolvePath(dir, "/tmp/a/b.log"), std::filesystem::path("/tmp/a/b.log"));
#endif
}

TEST(TextFile, LinesAppendingAndAFailedReplaceThatKeepsTheOldFile) {
    test::TempProgramFolder folder;
    const auto f = folder.path() / "Log" / "t.txt";
    EXPECT_FALSE(ReadLines(f).has_value());
    EXPECT_FALSE(AppendToExisting(f, "x"));  // never creates
    EXPECT_FALSE(std::filesystem::exists(f));
    ASSERT_TRUE(WriteNew(f, "\r\na\r\nb\n\r\nc"));
    ASSERT_TRUE(AppendToExisting(f, "d\r\n"));
    EXPECT_EQ(ReadLines(f), (std::vector<std::string>{"", "a", "b", "", "cd"}));

    const auto ini = folder.path() / "Data" / "Vespar.ini";
    ASSERT_TRUE(ReplaceAtomically(ini, "new\r\n"));
    EXPECT_EQ(folder.ReadFile(ini), "new\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "Data" / "Vespar.ini.tmp"));
    // A folder standing where the temporary file must go makes the write fail.
    std::filesystem::create_directory(folder.path() / "Data" / "Vespar.ini.tmp");
    EXPECT_FALSE(ReplaceAtomically(ini, "lost"));
    EXPECT_EQ(folder.ReadFile(ini), "new\r\n");
    // A folder where the file goes: the rename fails and the temporary file goes again.
    const auto busy = folder.path() / "Data" / "Busy";
    std::filesystem::create_directories(busy / "inside");
    EXPECT_FALSE(ReplaceAtomically(busy, "x"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "Data" / "Busy.tmp"));
}

}  // namespace
}  // namespace vespar
