#include "platform/local_time.h"

#include <ctime>

namespace platform {

CalendarTime CurrentLocalTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm local{};
  if (!localtime_r(&now.tv_sec, &local))
    return CalendarTime();
  CalendarTime time;
  time.year = static_cast<std::uint16_t>(local.tm_year + 1900);
  time.month = static_cast<std::uint16_t>(local.tm_mon + 1);
  time.dayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
  time.day = static_cast<std::uint16_t>(local.tm_mday);
  time.hour = static_cast<std::uint16_t>(local.tm_hour);
  time.minute = static_cast<std::uint16_t>(local.tm_min);
  time.second = static_cast<std::uint16_t>(local.tm_sec);
  time.milliseconds = static_cast<std::uint16_t>(now.tv_nsec / 1000000);
  return time;
}

}  // namespace platform
