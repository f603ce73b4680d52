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

// With the attributes given the shell names the type from the extension and never opens the
// file (a round trip per file on a network share). Needs COM on the calling thread.
std::u16string FileTypeName(const std::u16string& path) {
  SHFILEINFOW info{};
  if (SHGetFileInfoW(Wide(path), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                     SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES) == 0)
    return std::u16string();
  return FromWide(info.szTypeName);
}

std::u16string_view FileTypeKey(std::u16string_view name) {
  const size_t dot = name.find_last_of(u'.');
  return dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot);
}

}  // namespace platform
