#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/file_move.h"
#include "platform/posix/unique_descriptor.h"
#include "platform/posix/utf8_path.h"

namespace platform {
namespace {

bool Fail(ErrorCode& error) {
  error = static_cast<ErrorCode>(errno);
  return false;
}

bool WriteAll(int descriptor, const char* data, size_t count) {
  while (count > 0) {
    const ssize_t written = write(descriptor, data, count);
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    data += written;
    count -= static_cast<size_t>(written);
  }
  return true;
}

// Copies content, permissions and times to a new file at `to`; the copy is removed again when
// anything fails.
bool CopyToNewFile(const std::string& from, const std::string& to, ErrorCode& error) {
  UniqueDescriptor source(open(from.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat status {};
  if (!source.valid() || fstat(source.get(), &status) != 0)
    return Fail(error);
  UniqueDescriptor target(
      open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, status.st_mode & 07777));
  if (!target.valid())
    return Fail(error);
  std::vector<char> buffer(1 << 16);
  bool copied = true;
  for (;;) {
    const ssize_t got = read(source.get(), buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0) {
      copied = got == 0;
      break;
    }
    if (!WriteAll(target.get(), buffer.data(), static_cast<size_t>(got))) {
      copied = false;
      break;
    }
  }
  if (copied) {
    const timespec times[2] = {status.st_atim, status.st_mtim};
    futimens(target.get(), times);
  }
  if (!copied || !target.Close()) {
    const int failure = errno;
    unlink(to.c_str());
    errno = failure;
    return Fail(error);
  }
  return true;
}

}  // namespace

bool MoveFileNoReplace(const std::u16string& from, const std::u16string& to, ErrorCode& error) {
  const std::string source = ToUtf8(from);
  const std::string target = ToUtf8(to);
  if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno == EXDEV) {
    if (!CopyToNewFile(source, target, error))
      return false;
  } else if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP) {
    // A file system without the no-replace rename: a new link fails on an existing name too.
    if (link(source.c_str(), target.c_str()) != 0)
      return Fail(error);
  } else {
    return Fail(error);
  }
  if (unlink(source.c_str()) == 0)
    return true;
  const int failure = errno;
  unlink(target.c_str());
  errno = failure;
  return Fail(error);
}

}  // namespace platform
