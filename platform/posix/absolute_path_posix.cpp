#include <unistd.h>

#include <cerrno>

#include <string>

#include "platform/absolute_path.h"
#include "platform/posix/utf8_path.h"
#include "platform/windows_paths.h"

namespace platform {

bool MakeAbsolutePath(const std::u16string& path, std::u16string& absolute) {
  if (path.empty())
    return false;
  if (path.front() == u'/') {
    absolute = FoldDotSegments(u"/", path, u"/", u'/');
    return true;
  }
  std::string directory(256, '\0');
  while (getcwd(directory.data(), directory.size()) == nullptr) {
    if (errno != ERANGE)
      return false;
    directory.resize(directory.size() * 2);
  }
  directory.resize(directory.find('\0'));
  absolute = FoldDotSegments(u"/", FromUtf8(directory) + u'/' + path, u"/", u'/');
  return true;
}

}  // namespace platform
