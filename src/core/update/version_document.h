#pragma once

#include <array>
#include <string>

namespace vespar {

// The version document the maker's web site publishes: nine elements, each an opening tag,
// the value and a closing tag, in any order and with any text around them. Nothing else of
// XML is read (no entities, attributes or nesting).
struct VersionDocument {
    static constexpr std::array<const char*, 9> kElements = {"Name",     "Version1", "Version2",
                                                             "Download", "History",  "KIssues",
                                                             "Index",    "Message",  "Uninstall"};

    // Every value is "Error" until found.
    std::string name = "Error", version1 = "Error", version2 = "Error", download = "Error",
                history = "Error", kIssues = "Error", index = "Error", message = "Error",
                uninstall = "Error";
    // The elements not found.
    int errorCount = 9;

    // The value of an element by its name in kElements.
    std::string& value(const std::string& element);
};

// Reads the elements from the first opening tag and the first closing tag of each
// (case-sensitive). An element whose first closing tag comes before its opening tag counts
// as missing.
VersionDocument ParseVersionDocument(const std::string& document);

}  // namespace vespar
