#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <vector>

#include "platform/directory_listing.h"
#include "platform/posix/utf8_path.h"
#include "platform/posix/wildcard_match.h"

namespace platform {

const ErrorCode kErrorNoMoreFiles = ENODATA;
const ErrorCode kErrorFileNotFound = ENOENT;

namespace {

bool IsDotEntry(std::u16string_view name) {
  return name == u"." || name == u"..";
}

// "." and ".." first, as NTFS lists them, then the listing order of the names.
bool EntryLess(const std::u16string& a, const std::u16string& b) {
  if (IsDotEntry(a) || IsDotEntry(b))
    return IsDotEntry(a) && (!IsDotEntry(b) || a.size() < b.size());
  return ListingOrderLess(a, b);
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

// The whole folder is read at Open, filtered by the mask and sorted; Next walks the result.
struct DirectoryListing::Impl {
  std::string folder;  // UTF-8, for stat
  std::vector<std::u16string> names;
  size_t index = 0;
  ErrorCode readError = 0;  // a failure of readdir, reported at the end of the listing

  mutable bool haveStat = false;
  mutable struct stat status {};

  const struct stat& Status() const {
    if (!haveStat) {
      std::string path = folder + "/" + ToUtf8(names[index]);
      if (stat(path.c_str(), &status) != 0)
        status = {};
      haveStat = true;
    }
    return status;
  }
};

DirectoryListing::DirectoryListing() : impl_(std::make_unique<Impl>()) {}
DirectoryListing::~DirectoryListing() = default;

bool DirectoryListing::Open(const std::u16string& pattern, ErrorCode& error) {
  *impl_ = Impl();
  size_t separator = pattern.rfind(u'/');
  std::u16string_view mask = pattern;
  if (separator == std::u16string::npos) {
    impl_->folder = ".";
  } else {
    impl_->folder = separator == 0 ? std::string("/") : ToUtf8(pattern.substr(0, separator));
    mask.remove_prefix(separator + 1);
  }

  std::unique_ptr<DIR, DirCloser> dir(opendir(impl_->folder.c_str()));
  if (!dir) {
    error = static_cast<ErrorCode>(errno);
    return false;
  }
  while (true) {
    errno = 0;
    const dirent* entry = readdir(dir.get());
    if (!entry) {
      impl_->readError = static_cast<ErrorCode>(errno);
      break;
    }
    std::u16string name = FromUtf8(entry->d_name);
    if (MatchesWildcard(mask, name))
      impl_->names.push_back(std::move(name));
  }
  std::sort(impl_->names.begin(), impl_->names.end(), EntryLess);
  if (impl_->names.empty()) {
    error = impl_->readError ? impl_->readError : kErrorFileNotFound;
    return false;
  }
  return true;
}

bool DirectoryListing::Next(ErrorCode& error) {
  if (impl_->index + 1 >= impl_->names.size()) {
    error = impl_->readError ? impl_->readError : kErrorNoMoreFiles;
    return false;
  }
  ++impl_->index;
  impl_->haveStat = false;
  return true;
}

const std::u16string& DirectoryListing::name() const {
  return impl_->names[impl_->index];
}

std::uint64_t DirectoryListing::size() const {
  return static_cast<std::uint64_t>(impl_->Status().st_size);
}

CalendarTime DirectoryListing::modified() const {
  const struct stat& status = impl_->Status();
  std::tm local{};
  time_t seconds = status.st_mtim.tv_sec;
  if (!localtime_r(&seconds, &local))
    return CalendarTime();
  CalendarTime time;
  time.year = static_cast<std::uint16_t>(local.tm_year + 1900);
  time.month = static_cast<std::uint16_t>(local.tm_mon + 1);
  time.dayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
  time.day = static_cast<std::uint16_t>(local.tm_mday);
  time.hour = static_cast<std::uint16_t>(local.tm_hour);
  time.minute = static_cast<std::uint16_t>(local.tm_min);
  time.second = static_cast<std::uint16_t>(local.tm_sec);
  time.milliseconds = static_cast<std::uint16_t>(status.st_mtim.tv_nsec / 1000000);
  return time;
}

}  // namespace platform
