#include <time.h>

#include <ctime>

#include "platform/clock.h"

namespace platform {
namespace {

// 100-nanosecond ticks from 1601-01-01 to 1970-01-01.
constexpr FileTime kUnixEpoch = 116444736000000000ULL;
constexpr FileTime kTicksPerSecond = 10000000;

}  // namespace

FileTime CurrentFileTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return kUnixEpoch + static_cast<FileTime>(now.tv_sec) * kTicksPerSecond +
         static_cast<FileTime>(now.tv_nsec / 100);
}

CalendarTime LocalCalendarTime(FileTime stamp) {
  CalendarTime time;
  if (stamp < kUnixEpoch)
    return time;
  const auto seconds = static_cast<time_t>((stamp - kUnixEpoch) / kTicksPerSecond);
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
  time.milliseconds = static_cast<std::uint16_t>((stamp - kUnixEpoch) % kTicksPerSecond / 10000);
  return time;
}

}  // namespace platform
