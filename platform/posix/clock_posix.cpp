#include <time.h>

#include <ctime>

#include "platform/clock.h"

namespace platform {
FileTime CurrentFileTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return FileTimeFromUnix(now.tv_sec, now.tv_nsec);
}

CalendarTime LocalCalendarTime(FileTime stamp) {
  constexpr std::int64_t kTicksPerSecond = 10000000;
  // Stamps before 1970 wrap to negative tick counts.
  const auto ticks = static_cast<std::int64_t>(stamp - kUnixEpochTicks);
  std::int64_t whole = ticks / kTicksPerSecond;
  std::int64_t rest = ticks % kTicksPerSecond;
  if (rest < 0) {
    rest += kTicksPerSecond;
    --whole;
  }
  CalendarTime time;
  const auto seconds = static_cast<time_t>(whole);
  std::tm local{};
  if (!localtime_r(&seconds, &local))
    return time;
  time.year = static_cast<std::uint16_t>(local.tm_year + 1900);
  time.month = static_cast<std::uint16_t>(local.tm_mon + 1);
  time.dayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
  time.day = static_cast<std::uint16_t>(local.tm_mday);
  time.hour = static_cast<std::uint16_t>(local.tm_hour);
  time.minute = static_cast<std::uint16_t>(local.tm_min);
  time.second = static_cast<std::uint16_t>(local.tm_sec);
  time.milliseconds = static_cast<std::uint16_t>(rest / 10000);
  return time;
}

}  // namespace platform
