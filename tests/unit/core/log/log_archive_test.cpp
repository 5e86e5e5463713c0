#include "log/log_archive.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <vector>

#include "fakes/fake_system_ports.h"
#include "log/log_file.h"
#include "log_test_support.h"

namespace vespar::test {
namespace {

class LogArchiveTest : public LogTest {
  protected:
    LogArchiveTest() { host.clock.Set({2026, 12, 5, 9, 30, 0}); }
    // A log of the given number of lines.
    std::string WriteLog(int lines) {
        std::string text;
        for (int i = 1; i <= lines; ++i) text += "line " + std::to_string(i) + "\r\n";
        host.folder.WriteFile(Log(host.rt.config.LogName), text);
        return text;
    }
    ArchiveOutcome Archive(std::deque<Answer> answers = {}) {
        host.dialogs.answers = std::move(answers);
        return ArchiveLog(host.ctx);
    }
    // The new log that replaces an archived or cleared one.
    const std::string reset =
        "Vespar Log\r\nVersion 1.0\r\nFile Created\r\n05-Dec-26 09:30:00\r\n\r\n\r\n";
    const std::string failure =
        "Unable to archive the log file Vespar.log.\r\nThis may be a permissions problem.";
};

TEST(ArchiveFileNameTest, SplitsAtTheFirstDot) {
    const LocalTime day{2026, 12, 5, 9, 30, 0};
    EXPECT_EQ(ArchiveFileName("Vespar.log", day, 2), "Vespar_261205_2.log");
    EXPECT_EQ(ArchiveFileName("my.run.log", day, 1), "my_261205_1.run.log");
    EXPECT_EQ(ArchiveFileName("VesparLog", {2031, 3, 9, 0, 0, 0}, 12), "VesparLog_310309_12");
}

TEST_F(LogArchiveTest, YesArchivesAndNumbersTheArchivesOfADay) {
    const std::string old = WriteLog(9);
    EXPECT_EQ(Archive(), ArchiveOutcome::Archived);
    EXPECT_EQ(host.dialogs.shown,
              (std::vector<MessageBox>{{"Archive Vespar Log File",
                                        "Do you want to archive the log file?\r\n"
                                        "To Archive the log file and create a new one click Yes\r\n"
                                        "To Clear the results log file without archiving it click "
                                        "No\r\nClick Cancel to return",
                                        Icon::Exclamation, Buttons::YesNoCancel}}));
    const std::string second = WriteLog(12);
    EXPECT_EQ(Archive(), ArchiveOutcome::Archived);
    EXPECT_EQ(Files(), (FileMap{{"Vespar.log", reset},
                                {"Vespar_261205_1.log", old},
                                {"Vespar_261205_2.log", second}}));
    host.clock.Set({2026, 12, 6, 8, 0, 0});
    WriteLog(9);
    EXPECT_EQ(Archive(), ArchiveOutcome::Archived);
    EXPECT_TRUE(fs::exists(Log("Vespar_261206_1.log")));

    // The new log's header still drives the rotation (Normal level: a month has turned).
    host.clock.Set({2027, 1, 2, 10, 0, 0});
    StartLogFile(host.ctx);
    EXPECT_EQ(host.dialogs.shown.size(), 3u);  // the three questions only
    EXPECT_EQ(Read("Vespar_A.log"),
              "Vespar Log\r\nVersion 1.0\r\nFile Created\r\n06-Dec-26 08:00:00\r\n\r\n\r\n");
}

TEST_F(LogArchiveTest, AnswersDataAndFailures) {
    const std::string noData = "There is no data to archive!\r\nLog file not archived.";
    const std::string sure = "Are you sure you want to create a new log file?";
    struct Case {
        const char* what;
        int lines;
        std::deque<Answer> answers;
        ArchiveOutcome outcome;
        std::size_t boxes;
        std::string lastBox;
        bool replaced;
        std::function<void()> spoil = {};
    };
    using enum ArchiveOutcome;
    // clang-format off
    const Case cases[] = {
        {"eight lines have no data", 8, {}, Unchanged, 2, noData, false},
        {"no clears them at once", 8, {Answer::No}, Cleared, 1, "", true},
        {"clearing data asks first", 9, {Answer::No, Answer::No}, Unchanged, 2, sure, false},
        {"and clears", 9, {Answer::No, Answer::Yes}, Cleared, 2, sure, true},
        {"a read-only log is replaced in one rename", 9, {Answer::No, Answer::Yes}, Cleared, 2,
         sure, true, [&] { fs::permissions(Log(), fs::perms::owner_read); }},
        {"cancel", 20, {Answer::Cancel}, Unchanged, 1, "", false},
        {"closing the box", 20, {Answer::Ok}, Unchanged, 1, "", false},
        {"the new log cannot be made", 9, {Answer::No, Answer::Yes}, Unchanged, 3, failure, false,
         [&] { fs::create_directory(Log("Vespar.log.tmp")); }},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(LogDir());
        fs::create_directory(LogDir());
        host.dialogs.shown.clear();
        const std::string text = WriteLog(c.lines);
        if (c.spoil) c.spoil();
        EXPECT_EQ(Archive(c.answers), c.outcome);
        EXPECT_EQ(ArchiveStatusText(c.outcome), c.outcome == Cleared ? "Log File Cleared" : "");
        ASSERT_EQ(host.dialogs.shown.size(), c.boxes);
        if (c.boxes > 1) {
            EXPECT_EQ(host.dialogs.shown.back().text, c.lastBox);
        }
        EXPECT_EQ(Read(), c.replaced ? reset : text);
    }
    EXPECT_EQ(ArchiveStatusText(Archived), "Log File Archived");
}

TEST_F(LogArchiveTest, AnArchiveNameTooLongIsReportedAndTheProgramGoesOn) {
    host.rt.programTitle = "Vespar Slave";  // the product name stays in the title
    host.rt.config.LogName = std::string(245, 'v') + ".log";
    const std::string text = WriteLog(9);
    EXPECT_EQ(Archive(), ArchiveOutcome::Unchanged);
    ASSERT_EQ(host.dialogs.shown.size(), 2u);
    EXPECT_EQ(host.dialogs.shown[1],
              (MessageBox{"Vespar Log File Error",
                          "Unable to archive the log file " + host.rt.config.LogName +
                              ".\r\nThis may be a permissions problem.",
                          Icon::Exclamation, Buttons::Ok}));
    EXPECT_EQ(Files(), (FileMap{{host.rt.config.LogName, text}}));
    EXPECT_TRUE(host.Running());
}

TEST_F(LogArchiveTest, ViewOpensTheLogOrSaysWhyNot) {
    FakeTextViewer viewer;
    WriteLog(3);
    ViewLog(host.ctx, viewer);  // the Normal level: opened without a word
    EXPECT_EQ(viewer.opened, std::vector<fs::path>{Log()});
    EXPECT_TRUE(host.dialogs.shown.empty());
    host.rt.config.LogLevel = 1;
    ViewLog(host.ctx, viewer);  // nothing to open
    host.rt.config.LogLevel = 2;
    host.rt.programTitle = "Vespar Slave";
    viewer.works = false;
    ViewLog(host.ctx, viewer);
    EXPECT_EQ(host.dialogs.shown,
              (std::vector<MessageBox>{
                  {"Vespar Log File Error",
                   "Logging is set to None. There\r\nis no information to display.",
                   Icon::Information, Buttons::Ok},
                  {"Vespar Log File Error",
                   "Unable to run Notepad\r\nCheck that it exists and\r\nis working properly.",
                   Icon::Exclamation, Buttons::Ok}}));

    // A missing log ends the program, from viewing as from archiving.
    host.dialogs.shown.clear();
    fs::remove(Log());
    const std::string fatal = "Vespar Slave Log File Error";
    EXPECT_EQ(host.Stopped([&] { ViewLog(host.ctx, viewer); }).title, fatal);
    EXPECT_EQ(viewer.opened.size(), 2u);  // the Normal level and the viewer that failed
    EXPECT_EQ(host.Stopped([&] { ArchiveLog(host.ctx); }).title, fatal);
    EXPECT_FALSE(fs::exists(Log()));
}

}  // namespace
}  // namespace vespar::test