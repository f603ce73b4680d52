// A directory listing by pattern: the entries whose names match the pattern's last component
// under the program's wildcard rules (platform/wildcard_match.h). The whole folder is read when
// the listing opens, so that nothing a caller does to the folder meanwhile shows in it.
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
  // kErrorFileNotFound when the folder exists but nothing matches. On Windows the system's
  // listing also matches short 8.3 names; an entry whose long name does not match is left out.
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
  // Whether the current entry is a file whose content can be read to its end: on POSIX a regular
  // file or a link to one (not a pipe, socket or device), or an entry whose status cannot be
  // read, left for its opening to report; on Windows whatever is not a directory.
  bool EntryIsFile(const std::u16string& fullPath) const;
  // Whether the current entry is hidden: the hidden attribute on Windows, a name beginning with
  // a dot on POSIX (as ReadFileAttributes has it).
  bool EntryIsHidden() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
