#include "log/log_archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "base/dates.h"
#include "base/program_exit.h"
#include "base/text_file.h"
#include "log/log_file.h"
#include "log_test_support.h"

namespace vespar::test {
namespace {

namespace fs = std::filesystem;

const std::string kArchiveFailure =
    "Unable to archive the log file Vespar.log.\r\nThis may be a permissions problem.";

class RecordingViewer : public TextViewer {
  public:
    bool Open(const fs::path& file) override {
        opened.push_back(file);
        return works;
    }
    std::vector<fs::path> opened;
    bool works = true;
};

class LogArchiveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpLog(host, 2);
        host.clock.Set({2026, 12, 5, 9, 30, 0});
    }
    fs::path Log(const std::string& name = "Vespar.log") const { return LogDir(host) / name; }
    std::string Read(const std::string& name = "Vespar.log") const {
        return host.folder.ReadFile(Log(name));
    }
    // A log of the given number of lines.
    std::string WriteLog(int lines) {
        std::string text;
        for (int i = 1; i <= lines; ++i) text += "line " + std::to_string(i) + "\r\n";
        host.folder.WriteFile(Log(), text);
        return text;
    }
    std::string ResetHeader(const std::string& when) const {
        return "Vespar Log\r\nVersion 1.0\r\nFile Created\r\n" + when + "\r\n\r\n\r\n";
    }

    FakeHost host;
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
    const MessageBox& ask = host.dialogs.shown[0];
    EXPECT_EQ(ask.title, "Archive Vespar Log File");
    EXPECT_EQ(ask.text,
              "Do you want to archive the log file?\r\n"
              "To Archive the log file and create a new one click Yes\r\n"
              "To Clear the results log file without archiving it click No\r\n"
              "Click Cancel to return");
    EXPECT_EQ(ask.icon, Icon::Exclamation);
    EXPECT_EQ(ask.buttons, Buttons::YesNoCancel);
    EXPECT_EQ(Read("Vespar_261205_1.log"), old);
    EXPECT_EQ(Read(), ResetHeader("05-Dec-26 09:30:00"));
    EXPECT_EQ(ArchiveStatusText(ArchiveOutcome::Archived), "Log File Archived");

    // The same day numbers on; the next day starts again at 1.
    const std::string second = WriteLog(12);
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Archived);
    EXPECT_EQ(Read("Vespar_261205_2.log"), second);
    EXPECT_EQ(Read("Vespar_261205_1.log"), old);
    host.clock.Set({2026, 12, 6, 8, 0, 0});
    WriteLog(9);
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Archived);
    EXPECT_TRUE(fs::exists(Log("Vespar_261206_1.log")));
}

TEST_F(LogArchiveTest, ResetHeaderStillDrivesRotation) {
    WriteLog(9);
    ArchiveLog(host.ctx);
    host.clock.Set({2027, 1, 2, 10, 0, 0});
    StartLogFile(host.ctx);  // Normal level: a month has turned
    EXPECT_EQ(Read("Vespar_A.log"), ResetHeader("05-Dec-26 09:30:00"));
    EXPECT_EQ(host.dialogs.shown.size(), 1u);
}

TEST_F(LogArchiveTest, EightLinesHaveNoData) {
    const std::string text = WriteLog(8);
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Unchanged);
    ASSERT_EQ(host.dialogs.shown.size(), 2u);
    EXPECT_EQ(host.dialogs.shown[1].title, "Vespar Log File Error");
    EXPECT_EQ(host.dialogs.shown[1].text, "There is no data to archive!\r\nLog file not archived.");
    EXPECT_EQ(host.dialogs.shown[1].icon, Icon::Exclamation);
    EXPECT_EQ(Read(), text);
    EXPECT_EQ(std::distance(fs::directory_iterator(LogDir(host)), fs::directory_iterator()), 1);

    // No clears it at once, without a confirmation.
    host.dialogs.shown.clear();
    host.dialogs.answers = {Answer::No};
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Cleared);
    EXPECT_EQ(host.dialogs.shown.size(), 1u);
    EXPECT_EQ(Read(), ResetHeader("05-Dec-26 09:30:00"));
    EXPECT_EQ(ArchiveStatusText(ArchiveOutcome::Cleared), "Log File Cleared");
}

TEST_F(LogArchiveTest, ClearingDataAsksFirst) {
    const std::string text = WriteLog(9);
    host.dialogs.answers = {Answer::No, Answer::No};
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Unchanged);
    ASSERT_EQ(host.dialogs.shown.size(), 2u);
    EXPECT_EQ(host.dialogs.shown[1].title, "Vespar Create New Log File");
    EXPECT_EQ(host.dialogs.shown[1].text, "Are you sure you want to create a new log file?");
    EXPECT_EQ(host.dialogs.shown[1].icon, Icon::None);
    EXPECT_EQ(host.dialogs.shown[1].buttons, Buttons::YesNo);
    EXPECT_EQ(Read(), text);
    EXPECT_EQ(ArchiveStatusText(ArchiveOutcome::Unchanged), "");

    host.dialogs.answers = {Answer::No, Answer::Yes};
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Cleared);
    EXPECT_EQ(Read(), ResetHeader("05-Dec-26 09:30:00"));
    EXPECT_FALSE(fs::exists(Log("Vespar_261205_1.log")));

    // A read-only log is cleared all the same.
    WriteLog(9);
    fs::permissions(Log(), fs::perms::owner_read);
    host.dialogs.answers = {Answer::No, Answer::Yes};
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Cleared);
    EXPECT_EQ(Read(), ResetHeader("05-Dec-26 09:30:00"));

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
    const std::string text = "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\n";
    host.folder.WriteFile(Log(host.rt.config.LogName), text);
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Unchanged);
    ASSERT_EQ(host.dialogs.shown.size(), 2u);
    EXPECT_EQ(host.dialogs.shown[1].title, "Vespar Log File Error");
    EXPECT_EQ(host.dialogs.shown[1].text, "Unable to archive the log file " +
                                              host.rt.config.LogName +
                                              ".\r\nThis may be a permissions problem.");
    EXPECT_EQ(host.dialogs.shown[1].icon, Icon::Exclamation);
    EXPECT_EQ(Read(host.rt.config.LogName), text);
}

TEST_F(LogArchiveTest, ReadOnlyLogFolderStopsClearing) {
    if (!PermissionsApply()) GTEST_SKIP() << "write permissions do not bind the superuser";
    const std::string log = WriteLog(9);
    fs::permissions(LogDir(host), fs::perms::owner_write | fs::perms::group_write,
                    fs::perm_options::remove);
    host.dialogs.answers = {Answer::No, Answer::Yes};
    EXPECT_EQ(ArchiveLog(host.ctx), ArchiveOutcome::Unchanged);
    ASSERT_EQ(host.dialogs.shown.size(), 3u);
    EXPECT_EQ(host.dialogs.shown[2].text, kArchiveFailure);
    EXPECT_EQ(Read(), log);
}

TEST_F(LogArchiveTest, MissingLogEndsTheProgram) {
    EXPECT_THROW(ArchiveLog(host.ctx), ProgramExit);
    ASSERT_EQ(host.dialogs.shown.size(), 1u);
    EXPECT_EQ(host.dialogs.shown[0].title, "Vespar Log File Error");
    EXPECT_FALSE(fs::exists(Log()));
}

TEST_F(LogArchiveTest, ViewOpensTheLogOrSaysWhyNot) {
    RecordingViewer viewer;
    WriteLog(3);
    host.rt.config.LogLevel = 1;
    ViewLog(host.ctx, viewer);
    ASSERT_EQ(host.dialogs.shown.size(), 1u);
    EXPECT_EQ(host.dialogs.shown[0],
              (MessageBox{"Vespar Log File Error",
                          "Logging is set to None. There\r\nis no information to display.",
                          Icon::Information, Buttons::Ok}));
    EXPECT_TRUE(viewer.opened.empty());

    host.dialogs.shown.clear();
    host.rt.config.LogLevel = 3;
    ViewLog(host.ctx, viewer);
    EXPECT_TRUE(host.dialogs.shown.empty());
    ASSERT_EQ(viewer.opened.size(), 1u);
    EXPECT_EQ(viewer.opened[0], Log());

    host.rt.programTitle = "Vespar Slave";
    viewer.works = false;
    ViewLog(host.ctx, viewer);
    ASSERT_EQ(host.dialogs.shown.size(), 1u);
    EXPECT_EQ(host.dialogs.shown[0],
              (MessageBox{"Vespar Log File Error",
                          "Unable to run Notepad\r\nCheck that it exists and\r\n"
                          "is working properly.",
                          Icon::Exclamation, Buttons::Ok}));

    host.dialogs.shown.clear();
    fs::remove(Log());
    EXPECT_THROW(ViewLog(host.ctx, viewer), ProgramExit);
    EXPECT_EQ(viewer.opened.size(), 2u);
}

}  // namespace
}  // namespace vespar::test
