#include "platform/local_time.h"

#include <windows.h>

#include "platform/win32/system_time.h"

namespace platform {

CalendarTime CurrentLocalTime() {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  return FromSystemTime(local);
}

}  // namespace platform
