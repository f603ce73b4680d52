// The current time as the local calendar shows it.
#pragma once

#include "platform/calendar_time.h"

namespace platform {

// The local date and time now, in the fields the directory listing gives modification times in.
CalendarTime CurrentLocalTime();

}  // namespace platform
