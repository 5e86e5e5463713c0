#include "update/version_document.h"

#include <gtest/gtest.h>

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
    const struct {
        std::string document;
        int errorCount;
        std::string version1, message;
    } cases[] = {
        {Document("5.4"), 0, "5.4", "Hello"},
        {Document("5.4", "<Message>Second</Message>"), 0, "5.4", "Hello"},
        {"<Message></Message>", 8, "Error", ""},
        {"", 9, "Error", "Error"},
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
        EXPECT_EQ(d.errorCount, c.errorCount) << c.document;
        EXPECT_EQ(d.version1, c.version1) << c.document;
        EXPECT_EQ(d.message, c.message) << c.document;
    }
    VersionDocument withoutUninstall = ParseVersionDocument(
        Document("5.4").replace(Document("5.4").find("<Uninstall>"), 11, "<Uninstal>"));
    EXPECT_EQ(withoutUninstall.errorCount, 1);
    EXPECT_EQ(withoutUninstall.uninstall, "Error");
    EXPECT_EQ(withoutUninstall.kIssues, "k");
}

TEST(VersionDocumentTest, ComparesMajorAndMinorAsWholeNumbers) {
    const struct {
        const char *version1, *version2, *running;
        VersionOrder order;
    } cases[] = {
        {"5.4", "0.0", "5.3", VersionOrder::Newer},
        {"5.4", "0.0", "5.4", VersionOrder::Same},
        {"5.3", "0.0", "5.4", VersionOrder::Older},
        {"5.10", "0.0", "5.9", VersionOrder::Newer},
        {"5.9", "0.0", "5.10", VersionOrder::Older},
        {"5.4", "", "5.4", VersionOrder::Same},
        {"5", "0.0", "5.0", VersionOrder::Same},
        {" 5.4 beta", "0", "5.4", VersionOrder::Same},
        {"5.4", "0.1", "5.4", VersionOrder::Newer},
        {"6.0", "0.0", "0.9", VersionOrder::Newer},
        {"Error", "0.0", "1.0", VersionOrder::Older},
        {"99999999999999999999999.1", "0.0", "1.0", VersionOrder::Newer},
        {"18446744073709551616", "0.0", "1.0", VersionOrder::Newer},  // one above the largest
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ComparePublished(c.version1, c.version2, c.running, "0.0"), c.order)
            << c.version1 << " " << c.version2 << " against " << c.running;
    }
}

TEST(VersionDocumentTest, VerdictTextsAndButtons) {
    VersionDocument d = ParseVersionDocument(Document("5.4"));
    const UpdateVerdict same = JudgeDocument(d, "5.4", "0.0");
    EXPECT_EQ(same.status, "You have the latest version of Vespar");
    EXPECT_EQ(same.message, "Click Known Issues to see any problems we are aware of.\r\nHello");
    EXPECT_EQ(same.enabledButtons, (std::vector<std::string>{"WebSite", "KIssues", "History"}));
    EXPECT_FALSE(same.newer);

    d.uninstall = "Yes";
    const UpdateVerdict newer = JudgeDocument(d, "5.3", "0.0");
    EXPECT_EQ(newer.status, "Version 5.4 of Vespar is available ");
    EXPECT_EQ(newer.message,
              "Click Download to get it\r\nClick History for change info and Known Issues for "
              "any problems.\r\nHello\r\nYou must uninstall Vespar first.");
    EXPECT_EQ(newer.enabledButtons.size(), 4u);
    EXPECT_TRUE(newer.newer);
    d.uninstall = "yes";
    EXPECT_EQ(JudgeDocument(d, "5.3", "0.0").message.find("uninstall"), std::string::npos);

    const UpdateVerdict older = JudgeDocument(d, "5.5", "0.0");
    EXPECT_EQ(older.status, "Unrecognised version of Vespar");
    EXPECT_EQ(older.message, "Contact Karvell for assistance.");
    EXPECT_TRUE(older.enabledButtons.empty());
    EXPECT_FALSE(older.newer);
}

}  // namespace
}  // namespace vespar::test
