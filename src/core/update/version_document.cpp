#include "update/version_document.h"

#include <stdexcept>

namespace vespar {

std::string& VersionDocument::value(const std::string& element) {
    std::string* values[] = {&name,    &version1, &version2, &download, &history,
                             &kIssues, &index,    &message,  &uninstall};
    for (std::size_t i = 0; i < kElements.size(); ++i) {
        if (element == kElements[i]) return *values[i];
    }
    throw std::invalid_argument("no element " + element);
}

VersionDocument ParseVersionDocument(const std::string& document) {
    VersionDocument d;
    for (const char* element : VersionDocument::kElements) {
        const std::string open = "<" + std::string(element) + ">";
        const std::string close = "</" + std::string(element) + ">";
        const auto openAt = document.find(open);
        const auto closeAt = document.find(close);
        if (openAt == std::string::npos || closeAt == std::string::npos) continue;
        const auto valueAt = openAt + open.size();
        if (closeAt < valueAt) continue;
        d.value(element) = document.substr(valueAt, closeAt - valueAt);
        d.errorCount -= 1;
    }
    return d;
}

}  // namespace vespar
