#include <windows.h>

#include "platform/directory_listing.h"
#include "platform/path_queries.h"
#include "platform/win32/wide.h"
#include "platform/windows_paths.h"

namespace platform {

const ErrorCode kErrorNoMoreFiles = ERROR_NO_MORE_FILES;
const ErrorCode kErrorFileNotFound = ERROR_FILE_NOT_FOUND;

struct DirectoryListing::Impl {
  HANDLE find = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW data{};
  std::u16string name;

  ~Impl() { Close(); }
  void Close() {
    if (find != INVALID_HANDLE_VALUE)
      FindClose(find);
    find = INVALID_HANDLE_VALUE;
  }
};

DirectoryListing::DirectoryListing() : impl_(std::make_unique<Impl>()) {}
DirectoryListing::~DirectoryListing() = default;

bool DirectoryListing::Open(const std::u16string& pattern, ErrorCode& error, ListingNeed) {
  impl_->Close();
  impl_->find = FindFirstFileW(Wide(Win32CallPath(pattern, true)), &impl_->data);
  if (impl_->find == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return false;
  }
  impl_->name = FromWide(impl_->data.cFileName);
  return true;
}

bool DirectoryListing::Next(ErrorCode& error) {
  if (!FindNextFileW(impl_->find, &impl_->data)) {
    error = GetLastError();
    return false;
  }
  impl_->name = FromWide(impl_->data.cFileName);
  return true;
}

const std::u16string& DirectoryListing::name() const {
  return impl_->name;
}

std::uint64_t DirectoryListing::size() const {
  return (static_cast<std::uint64_t>(impl_->data.nFileSizeHigh) << 32) | impl_->data.nFileSizeLow;
}

CalendarTime DirectoryListing::modified() const {
  FILETIME local{};
  SYSTEMTIME system{};
  CalendarTime time;
  if (!FileTimeToLocalFileTime(&impl_->data.ftLastWriteTime, &local) ||
      !FileTimeToSystemTime(&local, &system))
    return time;
  time.year = system.wYear;
  time.month = system.wMonth;
  time.dayOfWeek = system.wDayOfWeek;
  time.day = system.wDay;
  time.hour = system.wHour;
  time.minute = system.wMinute;
  time.second = system.wSecond;
  time.milliseconds = system.wMilliseconds;
  return time;
}

bool DirectoryListing::EntryIsDirectory(const std::u16string& fullPath) const {
  return IsDirectory(fullPath);
}

}  // namespace platform
