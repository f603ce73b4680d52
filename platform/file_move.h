// Moving a file to a new path that no file holds yet.
#pragma once

#include <string>

#include "platform/system_error.h"

namespace platform {

// Moves the file at `from` to `to`, which names a file, not a folder. An existing file at `to` is
// never replaced: the move then fails with the platform's "file exists" code. Across volumes the
// file is copied and the original removed.
bool MoveFileNoReplace(const std::u16string& from, const std::u16string& to, ErrorCode& error);

}  // namespace platform
