// The gallery's event log (--event-log FILE): pages write one line per event they report, and
// each line reaches the file at once, so a script watching a live window can read it.
#pragma once

#include <string>

namespace kvl::gallery {

// Opens (truncates) the log; raises EInOutError when the file cannot be written.
void OpenEventLog(const std::string& FileName);
// Appends Line; does nothing without an open log.
void LogEvent(const std::string& Line);

}  // namespace kvl::gallery
