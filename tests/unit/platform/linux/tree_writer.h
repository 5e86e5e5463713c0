#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace vespar::linux_platform::test {

// Writes a file below a crafted system root, making its folders.
inline void Put(const std::filesystem::path& root, const std::string& relative,
                const std::string& text) {
    const auto file = root / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace vespar::linux_platform::test
