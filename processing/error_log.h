// The optional error log: one time-stamped entry for every error that a run reports, appended to
// a UTF-16LE file "VOXALog.txt" (Text) or "VOXALog.html" (HTML) in the chosen folder. Used by the
// window thread only; every failure of the log itself is silent.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/calendar_time.h"
#include "text/program_settings.h"

class ErrorLog {
 public:
  // The source of the entries' time stamps, in UTC.
  using Clock = std::function<CalendarTime()>;

  ErrorLog();
  explicit ErrorLog(Clock clock);

  // Takes over the log settings. A log file already in use is moved to the new folder and name
  // (unless a file of that name is there already); when the log is on, the file is created, with
  // its byte order mark, if it does not exist. An empty folder leaves the log without a file.
  void InitErrorLog(const ProgramSettings& settings);
  // Appends one entry when the log is on, opening and closing the file for it.
  void WriteErrorLog(std::u16string_view message);

  // The full path of the log file; empty until the first InitErrorLog.
  const std::u16string& logPath() const { return logPath_; }
  bool logEnabled() const { return logEnabled_; }

 private:
  Clock clock_;
  bool logEnabled_ = false;
  std::int32_t logType_ = kLogText;
  std::u16string logPath_;
};

// "VOXALog" with ".html" for the HTML type and ".txt" for any other.
std::u16string ErrorLogFileName(std::int32_t logType);

// One entry as it is appended: the time stamp "day/month/year hour:minute:second: " without
// leading zeros, the message (a lone surrogate, such as a name's byte that is not UTF-8, shown as
// U+FFFD), then "<br/>" for HTML; a Text entry ends with a line break unless the message already
// does.
std::u16string ErrorLogEntry(const CalendarTime& utc, std::u16string_view message,
                             std::int32_t logType);
