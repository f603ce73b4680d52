#include <sys/stat.h>

#include "platform/directory_identity.h"
#include "platform/posix/utf8_path.h"

namespace platform {

bool GetDirectoryIdentity(const std::u16string& path, DirectoryIdentity& identity) {
  struct stat status {};
  if (stat(ToUtf8(path).c_str(), &status) != 0)
    return false;
  identity.volume = static_cast<std::uint64_t>(status.st_dev);
  identity.index = static_cast<std::uint64_t>(status.st_ino);
  return true;
}

}  // namespace platform
