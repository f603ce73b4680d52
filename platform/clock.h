// The current time, and a time stamp as the user's calendar shows it.
#pragma once

#include "platform/calendar_time.h"
#include "platform/file.h"

namespace platform {

FileTime CurrentFileTime();
// The time stamp in local time.
CalendarTime LocalCalendarTime(FileTime time);

}  // namespace platform
