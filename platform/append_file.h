// A file written only at its end, and made durable on request: the backup store's journal and
// data. While one process holds it open for appending, no other may append to it (POSIX: an
// exclusive advisory lock; Windows: the share mode lets others read only).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/system_error.h"

namespace platform {

enum class AppendMode {
  OpenAlways,  // open the file, creating it when missing
  CreateNew,   // create the file; fails when a file of that name exists
};

class AppendFile {
 public:
  AppendFile() = default;
  ~AppendFile();
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  // Opens for appending; false with `error` set, kErrorFileInUse when another process appends.
  bool Open(const std::u16string& path, AppendMode mode, ErrorCode& error);
  bool IsOpen() const;
  void Close();
  // Appends all count bytes.
  bool Append(const void* bytes, size_t count, ErrorCode& error);
  // Makes the appended bytes durable: FlushFileBuffers, fdatasync.
  bool Sync(ErrorCode& error);
  // The length of the file: where the next append lands.
  std::uint64_t size() const { return size_; }

 private:
  // The backend's write of all count bytes at the end; size_ grows by what went out.
  bool Write(const void* bytes, size_t count, ErrorCode& error);
  // The backend's flush.
  bool SyncToDisk(ErrorCode& error);

#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int descriptor_ = -1;
#endif
  std::uint64_t size_ = 0;
};

// The error of opening a file another process appends to.
extern const ErrorCode kErrorFileInUse;

// Whether another process holds the file open for appending.
bool FileInUseForAppend(const std::u16string& path);

}  // namespace platform
