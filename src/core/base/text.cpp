#include "base/text.h"

namespace vespar {

std::string PadRightCut(const std::string& text, std::size_t width) {
    std::string r = text.substr(0, width);
    r.resize(width, ' ');
    return r;
}

std::string PadLeftRight(const std::string& text, std::size_t width) {
    if (text.size() >= width) return text.substr(text.size() - width);
    return std::string(width - text.size(), ' ') + text;
}

std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    bool pending = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.push_back(current);
            current.clear();
            pending = false;
        } else {
            current += c;
            pending = true;
        }
    }
    if (pending) lines.push_back(current);
    return lines;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::string r;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) r += kCrLf;
        r += lines[i];
    }
    return r;
}

}  // namespace vespar
