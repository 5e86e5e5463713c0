#include "platform/linux/kernel_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vespar::linux_platform {
namespace {

constexpr std::size_t kChunk = 4096;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

bool ReadKernelText(const std::filesystem::path& file, std::string& text) {
    text.clear();
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = true;
    for (;;) {
        const std::size_t used = text.size();
        // Growing keeps the capacity, so a file read every second allocates only once.
        text.resize(used + kChunk);
        const ssize_t n = read(fd, text.data() + used, kChunk);
        if (n < 0 && errno == EINTR) {
            text.resize(used);
            continue;
        }
        text.resize(used + static_cast<std::size_t>(n > 0 ? n : 0));
        if (n <= 0) {
            ok = n == 0;
            break;
        }
    }
    close(fd);
    return ok;
}

bool NextLine(std::string_view& rest, std::string_view& line) {
    if (rest.empty()) return false;
    const auto end = rest.find('\n');
    line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return true;
}

std::string_view NextField(std::string_view& rest) {
    std::size_t start = 0;
    while (start < rest.size() && IsBlank(rest[start])) ++start;
    std::size_t end = start;
    while (end < rest.size() && !IsBlank(rest[end])) ++end;
    const std::string_view field = rest.substr(start, end - start);
    rest.remove_prefix(end);
    return field;
}

}  // namespace vespar::linux_platform
