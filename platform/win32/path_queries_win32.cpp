#include <windows.h>

#include <shellapi.h>
#include <shlwapi.h>

#include "platform/path_queries.h"
#include "platform/win32/wide.h"
#include "platform/windows_paths.h"

namespace platform {

bool IsDirectory(const std::u16string& path) {
  const std::u16string callPath = Win32CallPath(path);
  if (callPath == path)
    return PathIsDirectoryW(Wide(path)) != FALSE;
  // PathIsDirectoryW takes no "\\?\" path; that form names no server share, so the attributes
  // tell.
  const DWORD attributes = GetFileAttributesW(Wide(callPath));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::u16string FileTypeName(const std::u16string& path) {
  SHFILEINFOW info{};
  if (SHGetFileInfoW(Wide(path), 0, &info, sizeof info, SHGFI_TYPENAME) == 0)
    return std::u16string();
  return FromWide(info.szTypeName);
}

}  // namespace platform
