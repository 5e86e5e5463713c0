#include "update/version_document.h"

#include <gtest/gtest.h>

#include <tuple>

#include "update/version_comparison.h"

namespace vespar::test {
namespace {

std::string Document(const std::string& version1, const std::string& extra = "") {
    return "<?xml version=\"1.0\"?>\r\n<Update><Name>Vespar</Name><Version1>" + version1 +
           "</Version1><Version2>0.0</Version2><Download>d</Download><History>h</History>"
           "<KIssues>k</KIssues><Index>i</Index><Message>Hello</Message>"
           "<Uninstall>No</Uninstall>" +
           extra + "</Update>";
}

TEST(VersionDocumentTest, ReadsFirstOccurrencesAndCountsMissingOnes) {
    std::string misspelt = Document("5.4");
    misspelt.replace(misspelt.find("<Uninstall>"), 11, "<Uninstal>");
    const struct {
        std::string document;
        int errorCount;
        std::string version1, message, uninstall = "Error";
    } cases[] = {
        {Document("5.4"), 0, "5.4", "Hello", "No"},
        {Document("5.4", "<Message>Second</Message>"), 0, "5.4", "Hello", "No"},
        // clang-format off
        {misspelt, 1, "5.4", "Hello"}, {"<Message></Message>", 8, "Error", ""},
        {"", 9, "Error", "Error"},
        // clang-format on
        // A closing tag before its opening tag gives no value.
        {"</Version1>5.4<Version1>", 9, "Error", "Error"},
        {"</Version1><Version1>5.4</Version1>", 9, "Error", "Error"},
        // Tags are case-sensitive; nothing else of XML is read.
        {"<version1>5.4</version1><Message a=\"1\">x</Message>", 9, "Error", "Error"},
        {std::string("<Message>\0\xff</Message>", 21), 8, "Error", std::string("\0\xff", 2)},
        {"<html><body>404 Not Found</body></html>", 9, "Error", "Error"},
    };
    for (const auto& c : cases) {
        const VersionDocument d = ParseVersionDocument(c.document);
        EXPECT_EQ(std::tie(d.errorCount, d.version1, d.message, d.uninstall),
                  std::tie(c.errorCount, c.version1, c.message, c.uninstall))
            << c.document;
    }
}

TEST(VersionDocumentTest, ComparesMajorAndMinorAsWholeNumbers) {
    using enum VersionOrder;
    // clang-format off
    const std::tuple<const char*, const char*, const char*, VersionOrder> cases[] = {
        {"5.4", "0.0", "5.3", Newer}, {"5.4", "0.0", "5.4", Same}, {"5.3", "0.0", "5.4", Older},
        {"5.10", "0.0", "5.9", Newer}, {"5.9", "0.0", "5.10", Older}, {"5.4", "", "5.4", Same},
        {"5", "0.0", "5.0", Same}, {" 5.4 beta", "0", "5.4", Same}, {"5.4", "0.1", "5.4", Newer},
        {"6.0", "0.0", "0.9", Newer}, {"Error", "0.0", "1.0", Older},
        {"99999999999999999999999.1", "0.0", "1.0", Newer},
        {"18446744073709551616", "0.0", "1.0", Newer},  // one above the largest
    };
    // clang-format on
    for (const auto& [version1, version2, running, order] : cases) {
        EXPECT_EQ(ComparePublished(version1, version2, running, "0.0"), order)
            << version1 << " " << version2 << " against " << running;
    }
}

TEST(VersionDocumentTest, VerdictTextsAndButtons) {
    using Buttons = std::vector<std::string>;
    VersionDocument d = ParseVersionDocument(Document("5.4"));
    const auto verdict = [&](const char* running) {
        const UpdateVerdict v = JudgeDocument(d, running, "0.0");
        return std::tuple(v.status, v.message, v.enabledButtons, v.newer);
    };
    EXPECT_EQ(verdict("5.4"),
              std::tuple("You have the latest version of Vespar",
                         "Click Known Issues to see any problems we are aware of.\r\nHello",
                         Buttons{"WebSite", "KIssues", "History"}, false));
    d.uninstall = "Yes";
    EXPECT_EQ(verdict("5.3"),
              std::tuple("Version 5.4 of Vespar is available ",
                         "Click Download to get it\r\nClick History for change info and Known "
                         "Issues for any problems.\r\nHello\r\nYou must uninstall Vespar first.",
                         Buttons{"WebSite", "KIssues", "History", "Download"}, true));
    d.uninstall = "yes";
    EXPECT_EQ(std::get<1>(verdict("5.3")).find("uninstall"), std::string::npos);
    EXPECT_EQ(verdict("5.5"), std::tuple("Unrecognised version of Vespar",
                                         "Contact Karvell for assistance.", Buttons{}, false));
}

}  // namespace
}  // namespace vespar::test
