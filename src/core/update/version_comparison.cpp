#include "update/version_comparison.h"

#include <array>
#include <cstdint>

#include "base/text.h"
#include "base/version.h"

namespace vespar {

namespace {

using Parts = std::array<std::uint64_t, 2>;

// "major.minor": leading blanks skipped, digits, ".", digits; anything else ends it.
Parts ReadParts(const std::string& text) {
    Parts parts{0, 0};
    std::size_t i = text.find_first_not_of(' ');
    for (std::size_t part = 0; part < parts.size() && i < text.size(); ++part) {
        if (part > 0) {
            if (text[i] != '.') break;
            ++i;
        }
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            // Very long numbers stay at the largest value rather than wrap.
            const std::uint64_t digit = static_cast<std::uint64_t>(text[i] - '0');
            if (parts[part] > (UINT64_MAX - digit) / 10) {
                parts[part] = UINT64_MAX;
            } else {
                parts[part] = parts[part] * 10 + digit;
            }
        }
    }
    return parts;
}

}  // namespace

VersionOrder ComparePublished(const std::string& version1, const std::string& version2,
                              const std::string& runningVersion, const std::string& runningBuild) {
    const Parts a1 = ReadParts(version1), a2 = ReadParts(version2);
    const Parts b1 = ReadParts(runningVersion), b2 = ReadParts(runningBuild);
    const std::array<std::uint64_t, 4> published{a1[0], a1[1], a2[0], a2[1]};
    const std::array<std::uint64_t, 4> running{b1[0], b1[1], b2[0], b2[1]};
    if (published == running) return VersionOrder::Same;
    return published > running ? VersionOrder::Newer : VersionOrder::Older;
}

UpdateVerdict JudgeDocument(const VersionDocument& doc, const std::string& runningVersion,
                            const std::string& runningBuild) {
    const std::string product = kProductName;
    switch (ComparePublished(doc.version1, doc.version2, runningVersion, runningBuild)) {
        case VersionOrder::Same:
            return {
                "You have the latest version of " + product,
                JoinCrLf({"Click Known Issues to see any problems we are aware of.", doc.message}),
                {"WebSite", "KIssues", "History"},
                false};
        case VersionOrder::Newer: {
            std::vector<std::string> lines = {
                "Click Download to get it",
                "Click History for change info and Known Issues for any problems.", doc.message};
            if (doc.uninstall == "Yes")
                lines.push_back("You must uninstall " + product + " first.");
            return {"Version " + doc.version1 + " of " + doc.name + " is available ",
                    JoinCrLf(lines),
                    {"WebSite", "KIssues", "History", "Download"},
                    true};
        }
        case VersionOrder::Older:
            break;
    }
    return {"Unrecognised version of " + product, "Contact Karvell for assistance.", {}, false};
}

}  // namespace vespar
