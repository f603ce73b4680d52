#include <cstdlib>

#include "platform/data_folder.h"
#include "platform/file_system.h"
#include "platform/posix/utf8_path.h"

namespace platform {

std::u16string UserDataFolder() {
  std::u16string base;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
    base = FromUtf8(data);
  else if (const char* home = std::getenv("HOME"); home && *home)
    base = FromUtf8(home) + u"/.local/share";
  else
    return {};
  const std::u16string folder = base + u"/voxalon";
  ErrorCode ignored = 0;
  CreateFolders(folder, ignored);
  return folder;
}

}  // namespace platform
