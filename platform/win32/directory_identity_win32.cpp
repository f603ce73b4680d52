#include <windows.h>

#include <cstring>

#include "platform/directory_identity.h"
#include "platform/win32/wide.h"
#include "platform/windows_paths.h"

namespace platform {
namespace {

// FILE_ID_INFO and its class number, which the headers give only from Windows 8 on.
struct FileIdInformation {
  ULONGLONG volumeSerialNumber;
  BYTE identifier[16];
};
constexpr auto kFileIdInfo = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);

struct HandleClose {
  HANDLE handle;
  ~HandleClose() { CloseHandle(handle); }
};

}  // namespace

bool GetDirectoryIdentity(const std::u16string& path, DirectoryIdentity& identity) {
  // Backup semantics open a directory; without FILE_FLAG_OPEN_REPARSE_POINT links are followed.
  HANDLE directory = CreateFileW(Wide(Win32CallPath(path)), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (directory == INVALID_HANDLE_VALUE)
    return false;
  const HandleClose closer{directory};
  // The 128-bit id: the 64-bit file index is not unique on ReFS (a Dev Drive). Only real Windows
  // has ReFS; Windows 7 and file systems without such ids fail the call and give the 64-bit index.
  FileIdInformation idInfo{};
  if (GetFileInformationByHandleEx(directory, kFileIdInfo, &idInfo, sizeof idInfo)) {
    std::uint64_t low = 0, high = 0;
    static_assert(sizeof idInfo.identifier == sizeof low + sizeof high);
    std::memcpy(&low, idInfo.identifier, sizeof low);
    std::memcpy(&high, idInfo.identifier + sizeof low, sizeof high);
    return MakeDirectoryIdentity(idInfo.volumeSerialNumber, low, high, identity);
  }
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(directory, &information))
    return false;
  return MakeDirectoryIdentity(
      information.dwVolumeSerialNumber,
      (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow,
      0, identity);
}

}  // namespace platform
