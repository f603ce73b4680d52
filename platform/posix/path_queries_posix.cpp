#include <sys/stat.h>

#include "platform/path_queries.h"
#include "platform/posix/utf8_path.h"

namespace platform {

bool IsDirectory(const std::u16string& path) {
  struct stat status {};
  return stat(ToUtf8(path).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The native build has no shell to name file types.
std::u16string FileTypeName(const std::u16string&) {
  return std::u16string();
}

}  // namespace platform
