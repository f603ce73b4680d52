#include "processing/error_log.h"

#include <chrono>

#include "platform/file_move.h"
#include "platform/log_file.h"
#include "platform/path_separator.h"
#include "platform/string_table.h"
#include "text/text_format.h"
#include "text/utf8.h"

namespace {

CalendarTime CurrentUtcTime() {
  using namespace std::chrono;
  const auto now = floor<seconds>(system_clock::now());
  const auto day = floor<days>(now);
  const year_month_day date(day);
  const hh_mm_ss time(now - day);
  CalendarTime result;
  result.year = static_cast<std::uint16_t>(static_cast<int>(date.year()));
  result.month = static_cast<std::uint16_t>(static_cast<unsigned>(date.month()));
  result.day = static_cast<std::uint16_t>(static_cast<unsigned>(date.day()));
  result.dayOfWeek = static_cast<std::uint16_t>(weekday(day).c_encoding());
  result.hour = static_cast<std::uint16_t>(time.hours().count());
  result.minute = static_cast<std::uint16_t>(time.minutes().count());
  result.second = static_cast<std::uint16_t>(time.seconds().count());
  return result;
}

}  // namespace

std::u16string ErrorLogFileName(std::int32_t logType) {
  return platform::LoadText(IDS_LOG_BASE_NAME) + (logType == kLogHtml ? u".html" : u".txt");
}

std::u16string ErrorLogEntry(const CalendarTime& utc, std::u16string_view message,
                             std::int32_t logType) {
  std::u16string entry =
      FormatString(IDS_LOG_TIMESTAMP,
                   {std::int64_t{utc.day}, std::int64_t{utc.month}, std::int64_t{utc.year},
                    std::int64_t{utc.hour}, std::int64_t{utc.minute}, std::int64_t{utc.second}});
  entry += ShownText(message);
  if (logType == kLogHtml)
    entry += u"<br/>";
  else if (message.empty() || (message.back() != u'\n' && message.back() != u'\r'))
    entry += u'\n';
  return entry;
}

ErrorLog::ErrorLog() : ErrorLog(CurrentUtcTime) {}

ErrorLog::ErrorLog(Clock clock) : clock_(std::move(clock)) {}

void ErrorLog::InitErrorLog(const ProgramSettings& settings) {
  logEnabled_ = settings.saveErrorLog == 1;
  logType_ = settings.logType;
  std::u16string newPath;
  if (!settings.logDirectory.empty())
    newPath = platform::JoinPath(settings.logDirectory, ErrorLogFileName(logType_));
  // The entries so far go along to the new folder or name; a file already there is kept, and
  // then the old one stays where it was.
  if (!logPath_.empty() && !newPath.empty() && newPath != logPath_) {
    platform::ErrorCode ignored = 0;
    platform::MoveFileNoReplace(logPath_, newPath, ignored);
  }
  logPath_ = std::move(newPath);
  if (logEnabled_ && !logPath_.empty())
    platform::AppendToLogFile(logPath_, std::u16string_view());
}

void ErrorLog::WriteErrorLog(std::u16string_view message) {
  if (!logEnabled_ || logPath_.empty())
    return;
  platform::AppendToLogFile(logPath_, ErrorLogEntry(clock_(), message, logType_));
}
