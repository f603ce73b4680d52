#include <windows.h>

#include "platform/file_system.h"
#include "platform/win32/wide.h"
#include "platform/windows_paths.h"

namespace platform {
namespace {

bool Failed(ErrorCode& error) {
  error = GetLastError();
  return false;
}

}  // namespace

bool CreateFolders(const std::u16string& path, ErrorCode& error) {
  const std::u16string callPath = Win32CallPath(path);
  const DWORD attributes = GetFileAttributesW(Wide(callPath));
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
      return true;
    error = ERROR_DIRECTORY;
    return false;
  }
  const size_t separator = path.find_last_of(u"\\/");
  // "C:\" and "\\server\share\" are roots: they exist or nothing can make them.
  if (separator != std::u16string::npos && separator > 2 &&
      !CreateFolders(path.substr(0, separator), error))
    return false;
  if (CreateDirectoryW(Wide(callPath), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
    return true;
  return Failed(error);
}

bool RemoveFile(const std::u16string& path, ErrorCode& error) {
  return DeleteFileW(Wide(Win32CallPath(path))) || Failed(error);
}

bool RemoveFolder(const std::u16string& path, ErrorCode& error) {
  return RemoveDirectoryW(Wide(Win32CallPath(path))) || Failed(error);
}

bool PathExists(const std::u16string& path) {
  return GetFileAttributesW(Wide(Win32CallPath(path))) != INVALID_FILE_ATTRIBUTES;
}

// GetDiskFreeSpaceExW takes any folder of the volume, with a trailing backslash for a UNC root.
bool FreeDiskSpace(const std::u16string& path, std::uint64_t& free, ErrorCode& error) {
  std::u16string folder = path;
  if (!folder.empty() && folder.back() != u'\\')
    folder += u'\\';
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExW(Wide(folder), &available, nullptr, nullptr))
    return Failed(error);
  free = available.QuadPart;
  return true;
}

bool SetSavedAttributes(const std::u16string& path, const FileAttributes& attributes,
                        ErrorCode& error) {
  // FILE_ATTRIBUTE_NORMAL is valid only alone; 0 asks for the same.
  const DWORD bits = attributes.saved == 0 ? FILE_ATTRIBUTE_NORMAL : attributes.saved;
  return SetFileAttributesW(Wide(Win32CallPath(path)), bits) || Failed(error);
}

}  // namespace platform
