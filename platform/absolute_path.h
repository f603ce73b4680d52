// The full form of a path that the user typed.
#pragma once

#include <string>

namespace platform {

// The path made absolute against the process's current directory, "." and ".." folded: what
// GetFullPathNameW gives on Windows, the same done lexically on POSIX (no link resolved). False
// when the current directory cannot be read or the path is empty.
bool MakeAbsolutePath(const std::u16string& path, std::u16string& absolute);

}  // namespace platform
