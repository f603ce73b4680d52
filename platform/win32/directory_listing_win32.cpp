#include <windows.h>

#include <vector>

#include "platform/clock.h"
#include "platform/directory_listing.h"
#include "platform/path_queries.h"
#include "platform/wildcard_match.h"
#include "platform/win32/wide.h"
#include "platform/windows_paths.h"

namespace platform {

const ErrorCode kErrorNoMoreFiles = ERROR_NO_MORE_FILES;
const ErrorCode kErrorFileNotFound = ERROR_FILE_NOT_FOUND;

namespace {

struct Entry {
  std::u16string name;
  DWORD attributes;
  std::uint64_t size;
  FILETIME lastWrite;
};

struct FindCloser {
  HANDLE find;
  ~FindCloser() { FindClose(find); }
};

// The mask: what follows the pattern's last separator.
std::u16string_view MaskOf(std::u16string_view pattern) {
  const size_t separator = pattern.find_last_of(u"\\/");
  return separator == std::u16string_view::npos ? pattern : pattern.substr(separator + 1);
}

}  // namespace

// FindFirstFileW and FindNextFileW read the whole folder at Open; Next walks the result.
struct DirectoryListing::Impl {
  std::vector<Entry> entries;
  size_t index = 0;
  ErrorCode readError = 0;  // a failure of FindNextFileW, reported at the end of the listing

  const Entry& Current() const { return entries[index]; }
};

DirectoryListing::DirectoryListing() : impl_(std::make_unique<Impl>()) {}
DirectoryListing::~DirectoryListing() = default;

bool DirectoryListing::Open(const std::u16string& pattern, ErrorCode& error, ListingNeed) {
  *impl_ = Impl();
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW(Wide(Win32CallPath(pattern, true)), &data);
  if (find == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return false;
  }
  const FindCloser closer{find};
  const std::u16string_view mask = MaskOf(pattern);
  do {
    std::u16string name = FromWide(data.cFileName);
    // The system matches short names too: "*.htm" would list "page.html" by its "PAGE~1.HTM".
    if (MatchesWildcard(mask, name)) {
      const std::uint64_t size =
          static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
      impl_->entries.push_back({std::move(name), data.dwFileAttributes, size, data.ftLastWriteTime});
    }
  } while (FindNextFileW(find, &data));
  const DWORD end = GetLastError();
  if (end != ERROR_NO_MORE_FILES)
    impl_->readError = end;
  if (impl_->entries.empty()) {
    error = impl_->readError ? impl_->readError : kErrorFileNotFound;
    return false;
  }
  return true;
}

bool DirectoryListing::Next(ErrorCode& error) {
  if (impl_->index + 1 >= impl_->entries.size()) {
    error = impl_->readError ? impl_->readError : kErrorNoMoreFiles;
    return false;
  }
  ++impl_->index;
  return true;
}

const std::u16string& DirectoryListing::name() const {
  return impl_->Current().name;
}

std::uint64_t DirectoryListing::size() const {
  return impl_->Current().size;
}

CalendarTime DirectoryListing::modified() const {
  const FILETIME& written = impl_->Current().lastWrite;
  return LocalCalendarTime(static_cast<FileTime>(written.dwHighDateTime) << 32 |
                           written.dwLowDateTime);
}

bool DirectoryListing::EntryIsDirectory(const std::u16string& fullPath) const {
  return IsDirectory(fullPath);
}

bool DirectoryListing::EntryIsFile(const std::u16string& fullPath) const {
  return !EntryIsDirectory(fullPath);
}

bool DirectoryListing::EntryIsHidden() const {
  return (impl_->Current().attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

}  // namespace platform
