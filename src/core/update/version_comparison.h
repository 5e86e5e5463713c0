#pragma once

#include <string>
#include <vector>

#include "update/version_document.h"

namespace vespar {

enum class VersionOrder { Older, Same, Newer };

// Orders the published version (Version1, then Version2) against the running one (version,
// then build). Each text gives a major and a minor part read as whole numbers up to the
// first character that cannot continue them, so 5.10 comes after 5.9 and 5.4 equals 5.4.0;
// a missing part reads as 0.
VersionOrder ComparePublished(const std::string& version1, const std::string& version2,
                              const std::string& runningVersion, const std::string& runningBuild);

// What the update window shows for a complete document.
struct UpdateVerdict {
    std::string status;
    std::string message;
    std::vector<std::string> enabledButtons;
    bool newer = false;
};

UpdateVerdict JudgeDocument(const VersionDocument& doc, const std::string& runningVersion,
                            const std::string& runningBuild);

}  // namespace vespar
