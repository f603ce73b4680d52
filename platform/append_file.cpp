#include "platform/append_file.h"

#include "platform/file_fault.h"

namespace platform {

bool AppendFile::Append(const void* bytes, size_t count, ErrorCode& error) {
  std::uint64_t allowed = count;
  ErrorCode faultError = 0;
  if (!TakeFileFault(FileOperation::Append, count, allowed, faultError))
    return Write(bytes, count, error);
  EndProcessAfterFault();
  if (allowed == 0 || Write(bytes, static_cast<size_t>(allowed), error))
    error = faultError;
  return false;
}

bool AppendFile::Sync(ErrorCode& error) {
  std::uint64_t allowed = 0;
  if (!TakeFileFault(FileOperation::Sync, 0, allowed, error))
    return SyncToDisk(error);
  return false;
}

}  // namespace platform
