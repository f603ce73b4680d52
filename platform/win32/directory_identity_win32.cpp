#include <windows.h>

#include "platform/directory_identity.h"
#include "platform/win32/wide.h"

namespace platform {

bool GetDirectoryIdentity(const std::u16string& path, DirectoryIdentity& identity) {
  // Backup semantics open a directory; without FILE_FLAG_OPEN_REPARSE_POINT links are followed.
  HANDLE directory =
      CreateFileW(Wide(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (directory == INVALID_HANDLE_VALUE)
    return false;
  BY_HANDLE_FILE_INFORMATION information{};
  bool ok = GetFileInformationByHandle(directory, &information) != FALSE;
  CloseHandle(directory);
  if (!ok)
    return false;
  identity.volume = information.dwVolumeSerialNumber;
  identity.index =
      (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
  return true;
}

}  // namespace platform
