#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/clock.h"
#include "platform/directory_listing.h"
#include "platform/posix/listed_folder.h"
#include "platform/posix/listing_order.h"
#include "platform/posix/utf8_path.h"
#include "platform/wildcard_match.h"

namespace platform {

const ErrorCode kErrorNoMoreFiles = ENODATA;
const ErrorCode kErrorFileNotFound = ENOENT;

namespace {

bool IsDotEntry(std::u16string_view name) {
  return name == u"." || name == u"..";
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

struct Entry {
  std::u16string name;
  std::string bytes;   // the name as the folder holds it
  unsigned char type;  // d_type: DT_UNKNOWN where the file system does not say
};

// "." and ".." first, as NTFS lists them, then the listing order of the names.
bool EntryLess(const Entry& a, const Entry& b) {
  if (IsDotEntry(a.name) || IsDotEntry(b.name))
    return IsDotEntry(a.name) && (!IsDotEntry(b.name) || a.name.size() < b.name.size());
  return ListingOrderLess(a.name, b.name);
}

bool KnownNotFolder(unsigned char type) {
  return type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN;
}

}  // namespace

// The whole folder is read at Open, filtered by the mask and sorted; Next walks the result. The
// folder stays open, so that entries are looked up relative to it rather than by full path.
struct DirectoryListing::Impl {
  std::unique_ptr<DIR, DirCloser> dir;
  std::unique_ptr<ListedFolder> listed;  // declared after dir: ends before the folder is closed
  std::vector<Entry> entries;
  size_t index = 0;
  ErrorCode readError = 0;  // a failure of readdir, reported at the end of the listing

  mutable bool haveStat = false;
  mutable struct stat status {};

  const Entry& Current() const { return entries[index]; }

  // The entry's type as S_IFMT bits, links followed: what the directory entry tells, else what a
  // stat reads; 0 when neither can.
  mode_t Type() const {
    const unsigned char type = Current().type;
    if (type != DT_LNK && type != DT_UNKNOWN)
      return DTTOIF(type);
    return Status().st_mode & S_IFMT;
  }

  // The entry's status, links followed; zero when it cannot be read.
  const struct stat& Status() const {
    if (!haveStat) {
      if (fstatat(dirfd(dir.get()), Current().bytes.c_str(), &status, 0) == 0)
        listed->OfferStatus(Current().bytes, status);
      else
        status = {};
      haveStat = true;
    }
    return status;
  }
};

DirectoryListing::DirectoryListing() : impl_(std::make_unique<Impl>()) {}
DirectoryListing::~DirectoryListing() = default;

bool DirectoryListing::Open(const std::u16string& pattern, ErrorCode& error, ListingNeed need) {
  impl_->listed.reset();
  *impl_ = Impl();
  size_t separator = pattern.rfind(u'/');
  std::u16string_view mask = pattern;
  std::string folder = ".";
  if (separator != std::u16string::npos) {
    folder = separator == 0 ? std::string("/") : ToUtf8(pattern.substr(0, separator));
    mask.remove_prefix(separator + 1);
  }

  impl_->dir.reset(opendir(folder.c_str()));
  if (!impl_->dir) {
    error = static_cast<ErrorCode>(errno);
    return false;
  }
  impl_->listed = std::make_unique<ListedFolder>(folder, dirfd(impl_->dir.get()));
  while (true) {
    errno = 0;
    const dirent* entry = readdir(impl_->dir.get());
    if (!entry) {
      impl_->readError = static_cast<ErrorCode>(errno);
      break;
    }
    if (need == ListingNeed::Folders && KnownNotFolder(entry->d_type))
      continue;
    std::u16string name = FromUtf8(entry->d_name);
    if (MatchesWildcard(mask, name))
      impl_->entries.push_back({std::move(name), entry->d_name, entry->d_type});
  }
  std::sort(impl_->entries.begin(), impl_->entries.end(), EntryLess);
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
  impl_->haveStat = false;
  impl_->listed->WithdrawStatus();
  return true;
}

const std::u16string& DirectoryListing::name() const {
  return impl_->Current().name;
}

std::uint64_t DirectoryListing::size() const {
  return static_cast<std::uint64_t>(impl_->Status().st_size);
}

CalendarTime DirectoryListing::modified() const {
  const struct stat& status = impl_->Status();
  return LocalCalendarTime(FileTimeFromUnix(status.st_mtim.tv_sec, status.st_mtim.tv_nsec));
}

bool DirectoryListing::EntryIsFile(const std::u16string&) const {
  // No type could be read (a link to nowhere): opening the file tells why.
  const mode_t type = impl_->Type();
  return type == S_IFREG || type == 0;
}

bool DirectoryListing::EntryIsHidden() const {
  return impl_->Current().name.starts_with(u'.');
}

bool DirectoryListing::EntryIsDirectory(const std::u16string&) const {
  return impl_->Type() == S_IFDIR;
}

}  // namespace platform
