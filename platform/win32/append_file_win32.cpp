#include <windows.h>

#include "platform/append_file.h"
#include "platform/win32/wide.h"
#include "platform/windows_paths.h"

namespace platform {

const ErrorCode kErrorFileInUse = ERROR_SHARING_VIOLATION;

AppendFile::~AppendFile() {
  Close();
}

// Write access with FILE_SHARE_READ: a second writer's CreateFileW fails with a sharing
// violation while this handle is open, and the handle goes when the process ends.
bool AppendFile::Open(const std::u16string& path, AppendMode mode, ErrorCode& error) {
  Close();
  HANDLE handle = CreateFileW(Wide(Win32CallPath(path)), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              mode == AppendMode::CreateNew ? CREATE_NEW : OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return false;
  }
  LARGE_INTEGER size{};
  LARGE_INTEGER end{};
  if (!GetFileSizeEx(handle, &size) || !SetFilePointerEx(handle, size, &end, FILE_BEGIN)) {
    error = GetLastError();
    CloseHandle(handle);
    return false;
  }
  handle_ = handle;
  size_ = static_cast<std::uint64_t>(size.QuadPart);
  return true;
}

bool AppendFile::IsOpen() const {
  return handle_ != nullptr;
}

void AppendFile::Close() {
  if (handle_)
    CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
  size_ = 0;
}

bool AppendFile::Write(const void* bytes, size_t count, ErrorCode& error) {
  const auto* data = static_cast<const unsigned char*>(bytes);
  size_t done = 0;
  constexpr size_t kMaxTransfer = 1u << 30;
  while (done < count) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(count - done < kMaxTransfer ? count - done : kMaxTransfer);
    if (!WriteFile(static_cast<HANDLE>(handle_), data + done, chunk, &written, nullptr) ||
        written == 0) {
      error = written == 0 && GetLastError() == ERROR_SUCCESS ? ERROR_DISK_FULL : GetLastError();
      size_ += done;
      return false;
    }
    done += written;
  }
  size_ += done;
  return true;
}

bool AppendFile::SyncToDisk(ErrorCode& error) {
  if (FlushFileBuffers(static_cast<HANDLE>(handle_)))
    return true;
  error = GetLastError();
  return false;
}

bool FileInUseForAppend(const std::u16string& path) {
  HANDLE handle = CreateFileW(Wide(Win32CallPath(path)), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    CloseHandle(handle);
    return false;
  }
  return GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace platform
