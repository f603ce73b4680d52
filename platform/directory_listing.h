// A directory listing by pattern, with the platform's wildcard semantics: `*` any run of
// characters, `?` one character, names matched without regard to case.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/calendar_time.h"
#include "platform/system_error.h"

namespace platform {

// The listing's end, and a pattern that matches nothing in an existing folder.
extern const ErrorCode kErrorNoMoreFiles;
extern const ErrorCode kErrorFileNotFound;

// What the caller of a listing wants of a folder's entries.
enum class ListingNeed {
  Everything,
  // Only the folders: entries the listing knows to be no folder may be left out (on POSIX those
  // whose directory entry gives another type; Windows lists everything).
  Folders,
};

class DirectoryListing {
 public:
  DirectoryListing();
  ~DirectoryListing();
  DirectoryListing(const DirectoryListing&) = delete;
  DirectoryListing& operator=(const DirectoryListing&) = delete;

  // Lists the entries of a folder that match the pattern's last component (folder, separator,
  // mask) and moves to the first one. On failure `error` receives the platform's code:
  // kErrorFileNotFound when the folder exists but nothing matches.
  bool Open(const std::u16string& pattern, ErrorCode& error,
            ListingNeed need = ListingNeed::Everything);
  // Moves to the next entry; at the end `error` receives kErrorNoMoreFiles.
  bool Next(ErrorCode& error);

  // The current entry, as the listing gives it: its name, its size, and its last write time
  // in local time.
  const std::u16string& name() const;
  std::uint64_t size() const;
  CalendarTime modified() const;
  // Whether the current entry, whose full path is given, is a directory or a link to one:
  // PathIsDirectoryW on the path on Windows; on POSIX what the listing knows of the entry, with
  // a stat only where the directory entry does not tell.
  bool EntryIsDirectory(const std::u16string& fullPath) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
