#include <windows.h>

#include "platform/file_move.h"
#include "platform/win32/wide.h"

namespace platform {

bool MoveFileNoReplace(const std::u16string& from, const std::u16string& to, ErrorCode& error) {
  // Without MOVEFILE_REPLACE_EXISTING an existing destination fails the move; files may cross
  // volumes.
  if (MoveFileW(Wide(from), Wide(to)))
    return true;
  error = GetLastError();
  return false;
}

}  // namespace platform
