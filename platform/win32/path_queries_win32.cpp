#include <windows.h>

#include <shellapi.h>
#include <shlwapi.h>

#include "platform/path_queries.h"
#include "platform/win32/wide.h"

namespace platform {

bool IsDirectory(const std::u16string& path) {
  return PathIsDirectoryW(Wide(path)) != FALSE;
}

std::u16string FileTypeName(const std::u16string& path) {
  SHFILEINFOW info{};
  if (SHGetFileInfoW(Wide(path), 0, &info, sizeof info, SHGFI_TYPENAME) == 0)
    return std::u16string();
  return FromWide(info.szTypeName);
}

}  // namespace platform
