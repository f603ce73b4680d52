// The attributes of a file that file processing reads, changes for a write and sets back.
// On POSIX a file is hidden when its name begins with a dot and read-only when its owner's
// write permission bit is clear, whatever the privileges of the process.
#pragma once

#include <cstdint>
#include <string>

#include "platform/system_error.h"

namespace platform {

struct FileAttributes {
  bool hidden = false;
  bool readOnly = false;
  // Windows: the data is only online (a cloud file's placeholder) or offline; reading the file
  // fetches it. Never on POSIX.
  bool onlineOnly = false;
  // The platform's own value (attribute bits, or the mode), for RestoreFileAttributes.
  std::uint32_t saved = 0;
};

bool ReadFileAttributes(const std::u16string& path, FileAttributes& attributes, ErrorCode& error);
// Only what a run that changes nothing tests: hidden and online-only. On POSIX from the name
// alone, without a system call (readOnly and saved stay unset); on Windows as ReadFileAttributes.
bool ReadSearchAttributes(const std::u16string& path, FileAttributes& attributes,
                          ErrorCode& error);

// Makes the file writable for a write: a set read-only bit is cleared on Windows, the owner's
// write bit added on POSIX; a file that is writable already is not touched.
bool ClearAttributesForWrite(const std::u16string& path, const FileAttributes& attributes,
                             ErrorCode& error);

// Sets back what ClearAttributesForWrite changed, as ReadFileAttributes found it; once the file
// was written, with the archive bit that the write set on Windows.
bool RestoreFileAttributes(const std::u16string& path, const FileAttributes& attributes,
                           bool written, ErrorCode& error);

}  // namespace platform
