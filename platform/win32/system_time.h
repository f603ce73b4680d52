// A SYSTEMTIME in the program's calendar fields.
#pragma once

#include <windows.h>

#include "platform/calendar_time.h"

namespace platform {

inline CalendarTime FromSystemTime(const SYSTEMTIME& system) {
  CalendarTime time;
  time.year = system.wYear;
  time.month = system.wMonth;
  time.dayOfWeek = system.wDayOfWeek;
  time.day = system.wDay;
  time.hour = system.wHour;
  time.minute = system.wMinute;
  time.second = system.wSecond;
  time.milliseconds = system.wMilliseconds;
  return time;
}

}  // namespace platform
