#include "base/text_file.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

#include "base/text.h"

namespace vespar {

std::optional<std::vector<std::string>> ReadLines(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::stringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return SplitLines(text.str());
}

bool AppendToExisting(const std::filesystem::path& file, const std::string& text) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return false;
    std::ofstream out(file, std::ios::binary | std::ios::app);
    if (!out) return false;
    out << text;
    out.close();
    return !out.fail();
}

bool WriteNew(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << text;
    out.close();
    return !out.fail();
}

bool ReplaceAtomically(const std::filesystem::path& target, const std::string& text) {
    std::filesystem::path temp = target;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << text;
        out.flush();
        out.close();
        if (out.fail()) {
            std::error_code ec;
            std::filesystem::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::filesystem::path ResolvePath(const std::filesystem::path& programDir,
                                  const std::string& configured) {
    std::string p = configured;
    for (char& c : p) {
        if (c == '\\') c = '/';
    }
    // Native separators, so that the names shown and compared are the system's own.
    const std::filesystem::path path = std::filesystem::path(p).make_preferred();
    const std::filesystem::path exact = path.is_absolute() ? path : programDir / path;
    std::error_code ec;
    if (path.is_absolute() || std::filesystem::exists(exact, ec)) return exact;
    // Names were written for a file system that ignores case ("data" is the folder Data):
    // below the program folder, take the entry that differs only in case when there is one.
    std::filesystem::path found = programDir;
    for (const auto& part : path) {
        if (part.empty() || part == ".") continue;
        std::filesystem::path next = found / part;
        if (!std::filesystem::exists(next, ec)) {
            for (const auto& entry : std::filesystem::directory_iterator(found, ec)) {
                if (SameIgnoringCase(entry.path().filename().string(), part.string())) {
                    next = entry.path();
                    break;
                }
            }
        }
        found = next;
    }
    if (!p.empty() && p.back() == '/') found /= "";
    return found;
}

}  // namespace vespar
