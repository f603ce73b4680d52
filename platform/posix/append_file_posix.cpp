#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/append_file.h"
#include "platform/posix/utf8_path.h"

namespace platform {

const ErrorCode kErrorFileInUse = EWOULDBLOCK;

AppendFile::~AppendFile() {
  Close();
}

bool AppendFile::Open(const std::u16string& path, AppendMode mode, ErrorCode& error) {
  Close();
  const int flags = O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC |
                    (mode == AppendMode::CreateNew ? O_EXCL : 0);
  int descriptor;
  do {
    descriptor = open(ToUtf8(path).c_str(), flags, 0666);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) {
    error = static_cast<ErrorCode>(errno);
    return false;
  }
  struct stat status {};
  if (flock(descriptor, LOCK_EX | LOCK_NB) != 0 || fstat(descriptor, &status) != 0) {
    error = static_cast<ErrorCode>(errno);
    close(descriptor);
    return false;
  }
  descriptor_ = descriptor;
  size_ = static_cast<std::uint64_t>(status.st_size);
  return true;
}

bool AppendFile::IsOpen() const {
  return descriptor_ >= 0;
}

void AppendFile::Close() {
  if (descriptor_ >= 0)
    close(descriptor_);
  descriptor_ = -1;
  size_ = 0;
}

bool AppendFile::Write(const void* bytes, size_t count, ErrorCode& error) {
  const auto* data = static_cast<const unsigned char*>(bytes);
  size_t done = 0;
  while (done < count) {
    const ssize_t written = write(descriptor_, data + done, count - done);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0) {
      error = written < 0 ? static_cast<ErrorCode>(errno) : ENOSPC;
      size_ += done;
      return false;
    }
    done += static_cast<size_t>(written);
  }
  size_ += done;
  return true;
}

bool AppendFile::SyncToDisk(ErrorCode& error) {
  if (fdatasync(descriptor_) == 0)
    return true;
  error = static_cast<ErrorCode>(errno);
  return false;
}

bool FileInUseForAppend(const std::u16string& path) {
  const int descriptor = open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0)
    return false;
  const bool inUse = flock(descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  close(descriptor);
  return inUse;
}

}  // namespace platform
