#include <sys/stat.h>

#include "platform/directory_identity.h"
#include "platform/posix/utf8_path.h"

namespace platform {

bool GetDirectoryIdentity(const std::u16string& path, DirectoryIdentity& identity) {
  struct stat status {};
  return stat(ToUtf8(path).c_str(), &status) == 0 &&
         MakeDirectoryIdentity(static_cast<std::uint64_t>(status.st_dev),
                               static_cast<std::uint64_t>(status.st_ino), 0, identity);
}

}  // namespace platform
