// Feeds arbitrary bytes to the version document's parser and the version comparison. Every
// value found must be the text between its own tags, and the comparison must be a strict
// order: swapping the two versions swaps Newer and Older.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "update/version_comparison.h"
#include "update/version_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vespar;
    const std::string text(reinterpret_cast<const char*>(data), size);
    VersionDocument doc = ParseVersionDocument(text);
    int found = 0;
    for (const char* element : VersionDocument::kElements) {
        const std::string& value = doc.value(element);
        const std::string open = "<" + std::string(element) + ">";
        const auto at = text.find(open);
        if (at != std::string::npos && text.compare(at + open.size(), value.size(), value) == 0 &&
            text.compare(at + open.size() + value.size(), 3 + std::string(element).size(),
                         "</" + std::string(element) + ">") == 0) {
            ++found;
        } else if (value != "Error") {
            std::abort();
        }
    }
    if (doc.errorCount < 0 || doc.errorCount > 9 || found < 9 - doc.errorCount) std::abort();
    (void)JudgeDocument(doc, "5.9", "0.0");

    // Two versions from the input: its first half against its second.
    const std::string a = text.substr(0, size / 2), b = text.substr(size / 2);
    const VersionOrder ab = ComparePublished(a, "0.0", b, "0.0");
    const VersionOrder ba = ComparePublished(b, "0.0", a, "0.0");
    const bool mirrored = (ab == VersionOrder::Same && ba == VersionOrder::Same) ||
                          (ab == VersionOrder::Newer && ba == VersionOrder::Older) ||
                          (ab == VersionOrder::Older && ba == VersionOrder::Newer);
    if (!mirrored) std::abort();
    return 0;
}
