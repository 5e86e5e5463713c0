#pragma once

#include <string>

#include "base/clock.h"
#include "log/text_viewer.h"
#include "state/context.h"

namespace vespar {

// What archiving did to the log, for the configuration screen's status line.
enum class ArchiveOutcome { Unchanged, Archived, Cleared };

// "Log File Archived", "Log File Cleared", or "" when the log was left as it was.
std::string ArchiveStatusText(ArchiveOutcome outcome);

// The archive file name for the n-th archive of the day: LogName's part before its first "."
// & "_yymmdd_n" & the rest from that "." on.
std::string ArchiveFileName(const std::string& logName, const LocalTime& today, int n);

// Asks the user whether to archive the log (copy it to a dated file) or clear it, then starts
// a new log with the reset header. Failures are reported and the program goes on; a missing
// log folder or file ends it.
ArchiveOutcome ArchiveLog(Context& ctx);

// Opens the log in the text viewer.
void ViewLog(Context& ctx, TextViewer& viewer);

}  // namespace vespar
