#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/log_file.h"
#include "platform/posix/unique_descriptor.h"
#include "platform/posix/utf8_path.h"

namespace platform {
namespace {

void AppendUnit(std::string& bytes, char16_t unit) {
  bytes.push_back(static_cast<char>(unit & 0xFF));
  bytes.push_back(static_cast<char>(unit >> 8));
}

}  // namespace

// The same bytes as the Windows runtime's wide text stream in append mode.
bool AppendToLogFile(const std::u16string& path, std::u16string_view text) {
  UniqueDescriptor file(
      open(ToUtf8(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
  struct stat status {};
  if (!file.valid() || fstat(file.get(), &status) != 0)
    return false;
  std::string bytes;
  if (status.st_size == 0)
    AppendUnit(bytes, u'\xFEFF');
  for (char16_t unit : text) {
    if (unit == u'\n')
      AppendUnit(bytes, u'\r');
    AppendUnit(bytes, unit);
  }
  // The entry goes out in one piece where the system allows it.
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(file.get(), bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    done += static_cast<size_t>(written);
  }
  return file.Close();
}

}  // namespace platform
