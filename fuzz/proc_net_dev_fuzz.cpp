// Any /proc/net/dev with the sysfs files of its first interface: the table reader and the
// download rate over two readings never overflow nor fail a sanitizer. The input is split
// at NUL bytes: the net/dev text, the interface's flags, its address, a second net/dev text.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/linux/proc_net_dev_table.h"

namespace {

const std::filesystem::path& Root() {
    static const std::filesystem::path root = [] {
        auto p = std::filesystem::temp_directory_path() /
                 ("vespar-fuzz-net-" + std::to_string(getpid()));
        std::filesystem::create_directories(p / "proc" / "net");
        return p;
    }();
    return root;
}

void Put(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> parts(4);
    std::size_t part = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\0' && part + 1 < parts.size()) {
            ++part;
        } else {
            parts[part] += c;
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(Root() / "sys", ec);
    Put(Root() / "proc" / "net" / "dev", parts[0]);
    // The sysfs folder of the name on the third line, as the reader would look it up.
    std::string name;
    std::size_t lineStart = 0;
    for (int line = 0; line < 2 && lineStart != std::string::npos; ++line) {
        lineStart = parts[0].find('\n', lineStart);
        if (lineStart != std::string::npos) ++lineStart;
    }
    if (lineStart != std::string::npos) {
        const auto colon = parts[0].find(':', lineStart);
        if (colon != std::string::npos) name = parts[0].substr(lineStart, colon - lineStart);
    }
    name.erase(0, name.find_first_not_of(' '));
    if (!name.empty() && name.find('/') == std::string::npos && name != "." && name != ".." &&
        name.find('\n') == std::string::npos) {
        const auto dir = Root() / "sys" / "class" / "net" / name;
        Put(dir / "flags", parts[1]);
        Put(dir / "address", parts[2]);
    }
    vespar::linux_platform::ProcNetDevTable table(Root());
    (void)table.Read();
    Put(Root() / "proc" / "net" / "dev", parts[3]);
    (void)table.Read();
    return 0;
}
