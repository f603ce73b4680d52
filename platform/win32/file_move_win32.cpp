#include <windows.h>

#include "platform/file_move.h"
#include "platform/win32/wide.h"
#include "platform/windows_paths.h"

namespace platform {

bool MoveFileNoReplace(const std::u16string& from, const std::u16string& to, ErrorCode& error) {
  // Without MOVEFILE_REPLACE_EXISTING an existing destination fails the move; files may cross
  // volumes.
  if (MoveFileW(Wide(Win32CallPath(from)), Wide(Win32CallPath(to))))
    return true;
  error = GetLastError();
  return false;
}

}  // namespace platform
