#include "platform/local_time.h"

#include "platform/posix/local_calendar.h"

namespace platform {

CalendarTime LocalCalendarTime(time_t seconds, long nanoseconds) {
  std::tm local{};
  if (!localtime_r(&seconds, &local))
    return CalendarTime();
  CalendarTime time;
  time.year = static_cast<std::uint16_t>(local.tm_year + 1900);
  time.month = static_cast<std::uint16_t>(local.tm_mon + 1);
  time.dayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
  time.day = static_cast<std::uint16_t>(local.tm_mday);
  time.hour = static_cast<std::uint16_t>(local.tm_hour);
  time.minute = static_cast<std::uint16_t>(local.tm_min);
  time.second = static_cast<std::uint16_t>(local.tm_sec);
  time.milliseconds = static_cast<std::uint16_t>(nanoseconds / 1000000);
  return time;
}

CalendarTime CurrentLocalTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return LocalCalendarTime(now.tv_sec, now.tv_nsec);
}

}  // namespace platform
