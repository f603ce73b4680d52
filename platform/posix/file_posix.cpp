#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <ctime>
#include <utility>

#include "platform/file.h"
#include "platform/file_fault.h"
#include "platform/posix/listed_folder.h"
#include "platform/posix/utf8_path.h"

namespace platform {
namespace {

// Seconds from 1601-01-01 to 1970-01-01, and ticks per second.
constexpr std::int64_t kEpochDifference = 11644473600;
constexpr std::int64_t kTicksPerSecond = 10000000;

FileTime ToFileTime(std::int64_t seconds, std::int64_t nanoseconds) {
  return static_cast<FileTime>((seconds + kEpochDifference) * kTicksPerSecond + nanoseconds / 100);
}

timespec ToTimespec(FileTime time) {
  const auto ticks = static_cast<std::int64_t>(time);
  timespec result{};
  result.tv_sec = static_cast<time_t>(ticks / kTicksPerSecond - kEpochDifference);
  result.tv_nsec = static_cast<long>(ticks % kTicksPerSecond * 100);
  return result;
}

// Bytes one system call moves at most.
constexpr size_t kMaxTransfer = 1u << 30;

}  // namespace

File::~File() {
  Close();
}

File::File(File&& other) noexcept
    : regular_(other.regular_), descriptor_(other.descriptor_), sizeAtOpen_(other.sizeAtOpen_) {
  other.descriptor_ = -1;
  other.sizeAtOpen_ = -1;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    regular_ = other.regular_;
    descriptor_ = other.descriptor_;
    sizeAtOpen_ = other.sizeAtOpen_;
    other.descriptor_ = -1;
    other.sizeAtOpen_ = -1;
  }
  return *this;
}

const ErrorCode kErrorNotRegularFile = EOPNOTSUPP;

bool File::Open(const std::u16string& path, FileAccess access, FileShare, ErrorCode& error,
                FileKind kind) {
  Close();
  const bool regularOnly = kind == FileKind::Regular;
  // Without blocking, the open of a pipe returns at once instead of waiting for a writer. Only a
  // regular file is kept open then, whose reads and writes the flag does not change.
  const int flags = (access == FileAccess::Read ? O_RDONLY : O_RDWR) | O_CLOEXEC | O_NOCTTY |
                    (regularOnly ? O_NONBLOCK : 0);
  const std::string utf8 = ToUtf8(path);
  const PathLookup lookup(utf8);
  int descriptor;
  do {
    descriptor = openat(lookup.folder, lookup.name, flags);
    // A file under a lease would fail at once; only its holder's break is waited for.
    if (descriptor < 0 && errno == EWOULDBLOCK)
      descriptor = openat(lookup.folder, lookup.name, flags & ~O_NONBLOCK);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) {
    error = static_cast<ErrorCode>(errno);
    return false;
  }
  struct stat status {};
  error = 0;
  if (fstat(descriptor, &status) != 0)
    error = static_cast<ErrorCode>(errno);
  else if (S_ISDIR(status.st_mode))
    error = EISDIR;
  else if (regularOnly && !S_ISREG(status.st_mode))
    error = kErrorNotRegularFile;
  if (error != 0) {
    close(descriptor);
    return false;
  }
  descriptor_ = descriptor;
  regular_ = regularOnly;
  sizeAtOpen_ = static_cast<std::int64_t>(status.st_size);
  return true;
}

bool File::IsOpen() const {
  return descriptor_ >= 0;
}

void File::Close() {
  sizeAtOpen_ = -1;
  regular_ = false;
  if (descriptor_ >= 0) {
    close(descriptor_);
    descriptor_ = -1;
  }
}

bool File::Size(std::uint64_t& size, ErrorCode& error) {
  if (sizeAtOpen_ >= 0) {
    size = static_cast<std::uint64_t>(std::exchange(sizeAtOpen_, -1));
    return true;
  }
  struct stat status {};
  if (fstat(descriptor_, &status) != 0) {
    error = static_cast<ErrorCode>(errno);
    return false;
  }
  size = static_cast<std::uint64_t>(status.st_size);
  return true;
}

bool File::Read(void* buffer, size_t count, size_t& done, ErrorCode& error) {
  done = 0;
  std::uint64_t allowed = 0;
  const bool fault = TakeFileFault(FileOperation::Read, count, allowed, error);
  if (fault)
    count = static_cast<size_t>(allowed);
  ssize_t result = 0;
  if (count != 0) {
    do {
      result = read(descriptor_, buffer, std::min(count, kMaxTransfer));
    } while (result < 0 && errno == EINTR);
    if (result < 0) {
      error = static_cast<ErrorCode>(errno);
      return false;
    }
  }
  done = static_cast<size_t>(result);
  return !fault;
}

bool File::Seek(std::uint64_t position, ErrorCode& error) {
  if (position > static_cast<std::uint64_t>(LLONG_MAX) ||
      lseek(descriptor_, static_cast<off_t>(position), SEEK_SET) < 0) {
    error = position > static_cast<std::uint64_t>(LLONG_MAX) ? static_cast<ErrorCode>(EINVAL)
                                                             : static_cast<ErrorCode>(errno);
    return false;
  }
  return true;
}

bool File::SetLength(std::uint64_t length, ErrorCode& error) {
  sizeAtOpen_ = -1;
  std::uint64_t allowed = 0;
  if (TakeFileFault(FileOperation::SetLength, 0, allowed, error))
    return false;
  if (length > static_cast<std::uint64_t>(LLONG_MAX)) {
    error = EINVAL;
    return false;
  }
  int result;
  do {
    result = ftruncate(descriptor_, static_cast<off_t>(length));
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    error = static_cast<ErrorCode>(errno);
    return false;
  }
  return Seek(length, error);
}

bool File::Write(const void* buffer, size_t count, size_t& done, ErrorCode& error) {
  sizeAtOpen_ = -1;
  done = 0;
  std::uint64_t allowed = count;
  ErrorCode faultError = 0;
  const bool fault = TakeFileFault(FileOperation::Write, count, allowed, faultError);
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  const auto limit = static_cast<size_t>(allowed);
  while (done < limit) {
    const ssize_t result = write(descriptor_, bytes + done, std::min(limit - done, kMaxTransfer));
    if (result < 0) {
      if (errno == EINTR)
        continue;
      error = static_cast<ErrorCode>(errno);
      return false;
    }
    if (result == 0) {
      error = ENOSPC;
      return false;
    }
    done += static_cast<size_t>(result);
  }
  if (fault) {
    EndProcessAfterFault();
    error = faultError;
    return false;
  }
  return true;
}

bool File::Flush(ErrorCode& error) {
  std::uint64_t allowed = 0;
  if (TakeFileFault(FileOperation::Flush, 0, allowed, error))
    return false;
  if (fdatasync(descriptor_) != 0) {
    error = static_cast<ErrorCode>(errno);
    return false;
  }
  return true;
}

bool File::GetTimes(FileTimes& times, ErrorCode& error) {
  times = FileTimes();
#ifdef STATX_BTIME
  struct statx extended {};
  if (statx(descriptor_, "", AT_EMPTY_PATH, STATX_ATIME | STATX_MTIME | STATX_BTIME, &extended) ==
      0) {
    times.lastAccess = ToFileTime(extended.stx_atime.tv_sec, extended.stx_atime.tv_nsec);
    times.lastWrite = ToFileTime(extended.stx_mtime.tv_sec, extended.stx_mtime.tv_nsec);
    if (extended.stx_mask & STATX_BTIME) {
      times.creation = ToFileTime(extended.stx_btime.tv_sec, extended.stx_btime.tv_nsec);
      times.hasCreation = true;
    }
    return true;
  }
#endif
  struct stat status {};
  if (fstat(descriptor_, &status) != 0) {
    error = static_cast<ErrorCode>(errno);
    return false;
  }
  times.lastAccess = ToFileTime(status.st_atim.tv_sec, status.st_atim.tv_nsec);
  times.lastWrite = ToFileTime(status.st_mtim.tv_sec, status.st_mtim.tv_nsec);
  return true;
}

bool File::SetTimes(const FileTimes& times, ErrorCode& error) {
  const timespec values[2] = {ToTimespec(times.lastAccess), ToTimespec(times.lastWrite)};
  if (futimens(descriptor_, values) != 0) {
    error = static_cast<ErrorCode>(errno);
    return false;
  }
  return true;
}

}  // namespace platform
