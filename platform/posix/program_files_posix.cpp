#include <unistd.h>

#include <string>

#include "platform/posix/utf8_path.h"
#include "platform/program_files.h"

namespace platform {

std::u16string ProgramFolder() {
  std::string path(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<size_t>(length) >= path.size())
    return std::u16string();
  path.resize(static_cast<size_t>(length));
  const size_t separator = path.find_last_of('/');
  return separator == std::string::npos ? std::u16string() : FromUtf8(path.substr(0, separator));
}

TextStream OpenTextForReading(const std::u16string& path) {
  return TextStream(std::fopen(ToUtf8(path).c_str(), "r"));
}

}  // namespace platform
