#include "platform/local_time.h"

#include <windows.h>

namespace platform {

CalendarTime CurrentLocalTime() {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  CalendarTime time;
  time.year = local.wYear;
  time.month = local.wMonth;
  time.dayOfWeek = local.wDayOfWeek;
  time.day = local.wDay;
  time.hour = local.wHour;
  time.minute = local.wMinute;
  time.second = local.wSecond;
  time.milliseconds = local.wMilliseconds;
  return time;
}

}  // namespace platform
