// A POSIX time in the local calendar's fields.
#pragma once

#include <ctime>

#include "platform/calendar_time.h"

namespace platform {

// The local calendar time of `seconds` since the epoch plus `nanoseconds`; all zero when the
// system cannot convert it.
CalendarTime LocalCalendarTime(time_t seconds, long nanoseconds);

}  // namespace platform
