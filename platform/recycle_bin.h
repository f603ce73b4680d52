// Deleting a file to the recycle bin (the desktop trash on POSIX).
#pragma once

#include <string>

#include "platform/system_error.h"

namespace platform {

// Moves the file at the full path to the recycle bin without any dialog. The file is never
// deleted for good: where the bin cannot take it (no bin on its volume, recycling turned off, a
// file larger than the bin), it stays where it is and false is returned with `error` 0. A path
// the shell cannot be given as it is (not fully qualified, too long, a name ending in a dot or a
// space) returns false with `error` saying why. ownerWindow is the window handle that owns
// anything the shell shows on Windows, or null; POSIX ignores it.
bool MoveToRecycleBin(const std::u16string& path, void* ownerWindow, ErrorCode& error);

}  // namespace platform
