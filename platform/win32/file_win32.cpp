#include <windows.h>

#include <algorithm>

#include "platform/file.h"
#include "platform/file_fault.h"
#include "platform/win32/wide.h"
#include "platform/windows_paths.h"

namespace platform {
namespace {

// Bytes one ReadFile or WriteFile moves at most.
constexpr size_t kMaxTransfer = 1u << 30;

FileTime FromFiletime(const FILETIME& time) {
  return static_cast<FileTime>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

FILETIME ToFiletime(FileTime time) {
  FILETIME result;
  result.dwLowDateTime = static_cast<DWORD>(time);
  result.dwHighDateTime = static_cast<DWORD>(time >> 32);
  return result;
}

}  // namespace

File::~File() {
  Close();
}

File::File(File&& other) noexcept
    : regular_(other.regular_), handle_(other.handle_), typeUnchecked_(other.typeUnchecked_) {
  other.handle_ = nullptr;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    regular_ = other.regular_;
    handle_ = other.handle_;
    typeUnchecked_ = other.typeUnchecked_;
    other.handle_ = nullptr;
  }
  return *this;
}

const ErrorCode kErrorNotRegularFile = ERROR_NOT_SUPPORTED;

bool File::Open(const std::u16string& fullPath, FileAccess access, FileShare share,
                ErrorCode& error, FileKind kind) {
  Close();
  const std::u16string path = Win32CallPath(fullPath);
  const DWORD desired = access == FileAccess::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  DWORD shareMode = 0;
  if (share == FileShare::Read)
    shareMode = FILE_SHARE_READ;
  else if (share == FileShare::All)
    shareMode = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE handle = CreateFileW(Wide(path), desired, shareMode, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return false;
  }
  handle_ = handle;
  typeUnchecked_ = kind == FileKind::Regular;
  return true;
}

// A device name ("CON", "NUL", also as "con.txt" in a folder before Windows 11) or a link to a
// device opens the device: a console would wait for input, others never end.
bool File::TypeChecked(ErrorCode& error) {
  if (!typeUnchecked_)
    return true;
  if (GetFileType(static_cast<HANDLE>(handle_)) != FILE_TYPE_DISK) {
    error = kErrorNotRegularFile;
    return false;
  }
  typeUnchecked_ = false;
  regular_ = true;
  return true;
}

bool File::IsOpen() const {
  return handle_ != nullptr;
}

void File::Close() {
  regular_ = false;
  if (handle_) {
    CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
  }
}

bool File::Size(std::uint64_t& size, ErrorCode& error) {
  if (!TypeChecked(error))
    return false;
  LARGE_INTEGER value;
  if (!GetFileSizeEx(static_cast<HANDLE>(handle_), &value)) {
    error = GetLastError();
    return false;
  }
  size = static_cast<std::uint64_t>(value.QuadPart);
  return true;
}

bool File::Read(void* buffer, size_t count, size_t& done, ErrorCode& error) {
  done = 0;
  if (!TypeChecked(error))
    return false;
  std::uint64_t allowed = 0;
  const bool fault = TakeFileFault(FileOperation::Read, count, allowed, error);
  if (fault)
    count = static_cast<size_t>(allowed);
  DWORD read = 0;
  if (count != 0 && !ReadFile(static_cast<HANDLE>(handle_), buffer,
                              static_cast<DWORD>(std::min(count, kMaxTransfer)), &read, nullptr)) {
    error = GetLastError();
    return false;
  }
  done = read;
  return !fault;
}

bool File::Seek(std::uint64_t position, ErrorCode& error) {
  LARGE_INTEGER distance;
  distance.QuadPart = static_cast<LONGLONG>(position);
  if (!SetFilePointerEx(static_cast<HANDLE>(handle_), distance, nullptr, FILE_BEGIN)) {
    error = GetLastError();
    return false;
  }
  return true;
}

bool File::SetLength(std::uint64_t length, ErrorCode& error) {
  std::uint64_t allowed = 0;
  if (TakeFileFault(FileOperation::SetLength, 0, allowed, error))
    return false;
  if (!Seek(length, error))
    return false;
  if (!SetEndOfFile(static_cast<HANDLE>(handle_))) {
    error = GetLastError();
    return false;
  }
  return true;
}

bool File::Write(const void* buffer, size_t count, size_t& done, ErrorCode& error) {
  done = 0;
  std::uint64_t allowed = count;
  ErrorCode faultError = 0;
  const bool fault = TakeFileFault(FileOperation::Write, count, allowed, faultError);
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  const auto limit = static_cast<size_t>(allowed);
  while (done < limit) {
    DWORD written = 0;
    if (!WriteFile(static_cast<HANDLE>(handle_), bytes + done,
                   static_cast<DWORD>(std::min(limit - done, kMaxTransfer)), &written, nullptr)) {
      error = GetLastError();
      return false;
    }
    if (written == 0) {
      error = ERROR_DISK_FULL;
      return false;
    }
    done += written;
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
  if (!FlushFileBuffers(static_cast<HANDLE>(handle_))) {
    error = GetLastError();
    return false;
  }
  return true;
}

bool File::GetTimes(FileTimes& times, ErrorCode& error) {
  FILETIME creation, lastAccess, lastWrite;
  if (!GetFileTime(static_cast<HANDLE>(handle_), &creation, &lastAccess, &lastWrite)) {
    error = GetLastError();
    return false;
  }
  times.creation = FromFiletime(creation);
  times.lastAccess = FromFiletime(lastAccess);
  times.lastWrite = FromFiletime(lastWrite);
  times.hasCreation = true;
  return true;
}

bool File::SetTimes(const FileTimes& times, ErrorCode& error) {
  const FILETIME lastAccess = ToFiletime(times.lastAccess);
  const FILETIME lastWrite = ToFiletime(times.lastWrite);
  FILETIME creation = ToFiletime(times.creation);
  if (!SetFileTime(static_cast<HANDLE>(handle_), times.hasCreation ? &creation : nullptr,
                   &lastAccess, &lastWrite)) {
    error = GetLastError();
    return false;
  }
  return true;
}

}  // namespace platform
