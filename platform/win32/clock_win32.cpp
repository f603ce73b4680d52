#include <windows.h>

#include "platform/clock.h"

namespace platform {

FileTime CurrentFileTime() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return static_cast<FileTime>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

CalendarTime LocalCalendarTime(FileTime stamp) {
  FILETIME utc{static_cast<DWORD>(stamp), static_cast<DWORD>(stamp >> 32)};
  FILETIME local{};
  SYSTEMTIME system{};
  CalendarTime time;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &system))
    return time;
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
