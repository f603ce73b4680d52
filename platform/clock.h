// The current time, and a time stamp as the user's calendar shows it.
#pragma once

#include "platform/calendar_time.h"
#include "platform/file.h"

namespace platform {

FileTime CurrentFileTime();

// 100-nanosecond ticks from 1601-01-01 to 1970-01-01.
inline constexpr FileTime kUnixEpochTicks = 116444736000000000ULL;

// A POSIX time (seconds and nanoseconds since 1970; earlier ones negative) on the FILETIME scale.
constexpr FileTime FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
  return kUnixEpochTicks + static_cast<FileTime>(seconds * 10000000 + nanoseconds / 100);
}
// The time stamp in local time.
CalendarTime LocalCalendarTime(FileTime time);

}  // namespace platform
