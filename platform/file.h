// An open file for reading and writing its content in place, and for its times.
// On Windows a CreateFileW handle (OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL); on POSIX a file
// descriptor, where the share mode has no effect and the creation time can be read (where the
// file system records it) but not set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/system_error.h"

namespace platform {

enum class FileAccess {
  Read,       // GENERIC_READ
  ReadWrite,  // GENERIC_READ | GENERIC_WRITE
};

enum class FileShare {
  None,  // no other handle may open the file while this one is open
  Read,  // FILE_SHARE_READ: others may read, nobody else may write
  All,   // FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE: others may even write and delete
};

// What Open accepts besides regular files.
enum class FileKind {
  // Only a file whose content ends: a pipe, socket or device (also one swapped in after a
  // listing) is refused with kErrorNotRegularFile, never waited for. On POSIX Open refuses it.
  // On Windows, where opening a device does not wait, the first Size or Read does: times read
  // before stay untouched (Wine's type query counts as an access to the file).
  Regular,
  // Also a pipe or device, read as it comes (waiting for a writer, as a pipe does).
  Any,
};

// Open's error for what FileKind::Regular refuses.
extern const ErrorCode kErrorNotRegularFile;

// A time stamp in 100-nanosecond ticks since 1601-01-01 UTC (the FILETIME scale).
using FileTime = std::uint64_t;

struct FileTimes {
  FileTime creation = 0;
  FileTime lastAccess = 0;
  FileTime lastWrite = 0;
  // False where the creation time is not known; SetTimes never sets it on POSIX.
  bool hasCreation = false;
};

class File {
 public:
  File() = default;
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens an existing file; an open file is closed first.
  bool Open(const std::u16string& path, FileAccess access, FileShare share, ErrorCode& error,
            FileKind kind = FileKind::Regular);
  bool IsOpen() const;
  void Close();

  // The size of the open file, as the handle sees it now (on POSIX, the first time after Open,
  // as Open found it: the same system call told both).
  bool Size(std::uint64_t& size, ErrorCode& error);
  // Reads up to count bytes from the current position; done is 0 at the end of the file.
  bool Read(void* buffer, size_t count, size_t& done, ErrorCode& error);
  // Whether a read that returned fewer bytes than asked met the end: true for a regular (disk)
  // file opened as FileKind::Regular once its type is known, false for pipes and devices.
  bool ShortReadEnds() const { return regular_; }
  // Moves the current position, counted from the beginning.
  bool Seek(std::uint64_t position, ErrorCode& error);
  // Makes the file length bytes long (shorter or longer); the current position moves to length.
  bool SetLength(std::uint64_t length, ErrorCode& error);
  // Writes all count bytes at the current position; on failure done tells how many went out.
  bool Write(const void* buffer, size_t count, size_t& done, ErrorCode& error);
  bool Flush(ErrorCode& error);

  bool GetTimes(FileTimes& times, ErrorCode& error);
  // Sets all three times (access and modification on POSIX).
  bool SetTimes(const FileTimes& times, ErrorCode& error);

 private:
  bool regular_ = false;
#ifdef _WIN32
  // Whether the handle may be read: a disk file, or any kind asked for. Else false with
  // kErrorNotRegularFile.
  bool TypeChecked(ErrorCode& error);

  void* handle_ = nullptr;
  bool typeUnchecked_ = false;
#else
  int descriptor_ = -1;
  std::int64_t sizeAtOpen_ = -1;  // until Size takes it or the handle changes the file
#endif
};

}  // namespace platform
