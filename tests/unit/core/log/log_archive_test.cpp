#include "log/log_archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "base/dates.h"
#include "base/program_exit.h"
#include "base/text_file.h"
#include "fakes/fake_system_ports.h"
#include "log/log_file.h"
#include "log_test_support.h"

namespace vespar::test {
namespace {

namespace fs = std::filesystem;

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
    // The new log that replaces an archived or cleared one.
    const std::string reset =
        "Vespar Log\r\nVersion 1.0\r\nFile Created\r\n05-Dec-26 09:30:00\r\n\r\n\r\n";
};

TEST(ArchiveFileNameTest, SplitsAtTheFirstDot) {
    const LocalTime day{2026, 12, 5, 9, 30, 0};
    EXPECT_EQ(ArchiveFileName("Vespar.log", day, 2), "Vespar_261205_2.log");
    EXPECT_EQ(ArchiveFileName("my.run.log", day, 1), "my_261205_1.run.log");
    EXPECT_EQ(ArchiveFileName("VesparLog", {2031, 3, 9, 0, 0, 0}, 12), "VesparLog_310309_12");
}

TEST_F(LogArchiveTest, YesArchivesAndStartsANewLog) {
    const std::string old = WriteLog(9);
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Archived);
    ASSERT_EQ(host.dialogs.shown.size(), 1u);
    EXPECT_EQ(host.dialogs.shown[0],
              (MessageBox{"Archive Vespar Log File",
                          "Do you want to archive the log file?\r\n"
                          "To Archive the log file and create a new one click Yes\r\n"
                          "To Clear the results log file without archiving it click No\r\n"
                          "Click Cancel to return",
                          Icon::Exclamation, Buttons::YesNoCancel}));
    EXPECT_EQ(Files(), (FileMap{{"Vespar.log", reset}, {"Vespar_261205_1.log", old}}));
    EXPECT_EQ(ArchiveStatusText(ArchiveOutcome::Archived), "Log File Archived");

    // The same day numbers on; the next day starts again at 1.
    const std::string second = WriteLog(12);
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Archived);
    EXPECT_EQ(Files(), (FileMap{{"Vespar.log", reset},
                                {"Vespar_261205_1.log", old},
                                {"Vespar_261205_2.log", second}}));
    host.clock.Set({2026, 12, 6, 8, 0, 0});
    WriteLog(9);
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Archived);
    EXPECT_TRUE(fs::exists(Log("Vespar_261206_1.log")));

    // The new log's header still drives the rotation (Normal level: a month has turned).
    host.clock.Set({2027, 1, 2, 10, 0, 0});
    StartLogFile(host.ctx);
    EXPECT_EQ(host.dialogs.shown.size(), 3u);  // the three questions only
    EXPECT_EQ(Read("Vespar_A.log"),
              "Vespar Log\r\nVersion 1.0\r\nFile Created\r\n"
              "06-Dec-26 08:00:00\r\n\r\n\r\n");
}

TEST_F(LogArchiveTest, EightLinesHaveNoData) {
    const std::string text = WriteLog(8);
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Unchanged);
    ASSERT_EQ(host.dialogs.shown.size(), 2u);
    EXPECT_EQ(host.dialogs.shown[1],
              (MessageBox{"Vespar Log File Error",
                          "There is no data to archive!\r\nLog file not archived.",
                          Icon::Exclamation, Buttons::Ok}));
    EXPECT_EQ(Files(), (FileMap{{"Vespar.log", text}}));

    // No clears it at once, without a confirmation.
    host.dialogs.shown.clear();
    host.dialogs.answers = {Answer::No};
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Cleared);
    EXPECT_EQ(host.dialogs.shown.size(), 1u);
    EXPECT_EQ(Files(), (FileMap{{"Vespar.log", reset}}));
}

TEST_F(LogArchiveTest, ClearingDataAsksFirst) {
    const std::string text = WriteLog(9);
    host.dialogs.answers = {Answer::No, Answer::No};
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Unchanged);
    ASSERT_EQ(host.dialogs.shown.size(), 2u);
    EXPECT_EQ(host.dialogs.shown[1], (MessageBox{"Vespar Create New Log File",
                                                 "Are you sure you want to create a new log file?",
                                                 Icon::None, Buttons::YesNo}));
    EXPECT_EQ(Read(), text);
    EXPECT_EQ(ArchiveStatusText(ArchiveOutcome::Unchanged), "");

    host.dialogs.answers = {Answer::No, Answer::Yes};
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Cleared);
    EXPECT_EQ(Files(), (FileMap{{"Vespar.log", reset}}));

    // A read-only log is cleared all the same: the new one takes its place in one rename.
    WriteLog(9);
    fs::permissions(Log(), fs::perms::owner_read);
    host.dialogs.answers = {Answer::No, Answer::Yes};
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Cleared);
    EXPECT_EQ(Files(), (FileMap{{"Vespar.log", reset}}));

    // Cancel, or closing the box, leaves everything alone.
    const std::string again = WriteLog(20);
    for (Answer a : {Answer::Cancel, Answer::Ok}) {
        host.dialogs.answers = {a};
        EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Unchanged);
        EXPECT_EQ(Read(), again);
    }
}

TEST_F(LogArchiveTest, FailuresAreReportedAndTheProgramGoesOn) {
    host.rt.programTitle = "Vespar Slave";  // the product name stays in the title
    // The log's name fits, the archive's does not.
    host.rt.config.LogName = std::string(245, 'v') + ".log";
    const std::string text = WriteLog(9);
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Unchanged);
    ASSERT_EQ(host.dialogs.shown.size(), 2u);
    EXPECT_EQ(host.dialogs.shown[1],
              (MessageBox{"Vespar Log File Error",
                          "Unable to archive the log file " + host.rt.config.LogName +
                              ".\r\nThis may be a permissions problem.",
                          Icon::Exclamation, Buttons::Ok}));
    EXPECT_EQ(Files(), (FileMap{{host.rt.config.LogName, text}}));
    EXPECT_TRUE(host.Running());
}

TEST_F(LogArchiveTest, ReadOnlyLogFolderStopsClearing) {
    if (!PermissionsApply()) GTEST_SKIP() << "write permissions do not bind the superuser";
    const std::string log = WriteLog(9);
    fs::permissions(LogDir(), fs::perms::owner_write | fs::perms::group_write,
                    fs::perm_options::remove);
    host.dialogs.answers = {Answer::No, Answer::Yes};
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Unchanged);
    ASSERT_EQ(host.dialogs.shown.size(), 3u);
    EXPECT_EQ(host.dialogs.shown[2].text,
              "Unable to archive the log file Vespar.log.\r\nThis may be a permissions problem.");
    EXPECT_EQ(Read(), log);
}

TEST_F(LogArchiveTest, ViewOpensTheLogOrSaysWhyNot) {
    FakeTextViewer viewer;
    WriteLog(3);
    host.rt.config.LogLevel = 1;
    ViewLog(host.ctx, viewer);
    EXPECT_EQ(
        host.dialogs.shown,
        (std::vector<MessageBox>{{"Vespar Log File Error",
                                  "Logging is set to None. There\r\nis no information to display.",
                                  Icon::Information, Buttons::Ok}}));
    EXPECT_TRUE(viewer.opened.empty());

    host.dialogs.shown.clear();
    host.rt.config.LogLevel = 3;
    ViewLog(host.ctx, viewer);
    EXPECT_TRUE(host.dialogs.shown.empty());
    EXPECT_EQ(viewer.opened, std::vector<fs::path>{Log()});

    host.rt.programTitle = "Vespar Slave";
    viewer.works = false;
    ViewLog(host.ctx, viewer);
    EXPECT_EQ(host.dialogs.shown,
              (std::vector<MessageBox>{{"Vespar Log File Error",
                                        "Unable to run Notepad\r\nCheck that it exists and\r\n"
                                        "is working properly.",
                                        Icon::Exclamation, Buttons::Ok}}));

    // A missing log ends the program, from viewing as from archiving.
    host.dialogs.shown.clear();
    fs::remove(Log());
    const std::string fatal = "Vespar Slave Log File Error";
    EXPECT_EQ(host.Stopped([&] { ViewLog(host.ctx, viewer); }).title, fatal);
    EXPECT_EQ(viewer.opened.size(), 2u);
    EXPECT_EQ(host.Stopped([&] { ArchiveLog(host.ctx); }).title, fatal);
    EXPECT_FALSE(fs::exists(Log()));
}

}  // namespace
}  // namespace vespar::test
