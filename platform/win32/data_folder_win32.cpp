#include <windows.h>
#include <shlobj.h>

#include "platform/data_folder.h"
#include "platform/path_separator.h"
#include "platform/win32/wide.h"

namespace platform {

std::u16string UserDataFolder() {
  wchar_t appData[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, TRUE))
    return {};
  std::u16string folder = JoinPath(FromWide(appData), u"VOXA");
  if (GetFileAttributesW(Wide(folder)) == INVALID_FILE_ATTRIBUTES)
    CreateDirectoryW(Wide(folder), nullptr);
  return folder;
}

}  // namespace platform
