#include "platform/linux/kernel_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <system_error>

namespace vespar::linux_platform {
namespace {

constexpr std::size_t kChunk = 4096;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

KernelTextFile::~KernelTextFile() {
    if (fd_ >= 0) close(fd_);
}

bool KernelTextFile::Read(std::string_view& text) {
    if (fd_ < 0) fd_ = open(file_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return false;
    if (buffer_.empty()) buffer_.resize(kChunk);
    std::size_t used = 0;
    for (;;) {
        // A full buffer doubles and keeps that size, so a file read every second allocates
        // only while it grows.
        if (used == buffer_.size()) buffer_.resize(2 * buffer_.size());
        const ssize_t n =
            pread(fd_, buffer_.data() + used, buffer_.size() - used, static_cast<off_t>(used));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            close(fd_);
            fd_ = -1;
            return false;
        }
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
    }
    text = std::string_view(buffer_.data(), used);
    return true;
}

bool NextLine(std::string_view& rest, std::string_view& line) {
    if (rest.empty()) return false;
    const auto end = rest.find('\n');
    line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return true;
}

std::string_view NextField(std::string_view& rest) {
    // Pointers rather than indexes: the tables hold some forty fields a second.
    const char* const end = rest.data() + rest.size();
    const char* start = rest.data();
    while (start != end && IsBlank(*start)) ++start;
    const char* stop = start;
    while (stop != end && !IsBlank(*stop)) ++stop;
    rest = std::string_view(stop, static_cast<std::size_t>(end - stop));
    return std::string_view(start, static_cast<std::size_t>(stop - start));
}

bool ParseUnsigned(std::string_view field, std::uint64_t& value, int base) {
    const char* const first = field.data();
    const char* const last = first + field.size();
    const auto [end, ec] = std::from_chars(first, last, value, base);
    return ec == std::errc() && end == last && first != last;
}

}  // namespace vespar::linux_platform
