// A test seam of File: makes chosen operations fail as a full disk or a broken medium would.
// Nothing is armed outside tests, and then every check costs one relaxed atomic load.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/system_error.h"

namespace platform {

// Append and Sync: an AppendFile's appends and flushes (the backup store's writes).
enum class FileOperation { Read, SetLength, Write, Flush, Append, Sync };

struct FileFault {
  FileOperation operation = FileOperation::Write;
  // Operations of that kind that succeed before the faulty one.
  int skip = 0;
  // For Write and Read: the bytes that still go through before the failure.
  std::uint64_t bytesBefore = 0;
  ErrorCode error = 0;
  // How many operations fail in a row once the fault fires.
  int count = 1;
  // Instead of failing, the process ends there at once (a Write after its bytesBefore), as a
  // crash or a power cut would leave the file.
  bool endProcess = false;
};

// The exit status of a process a fault ended.
inline constexpr int kFaultEndStatus = 86;

// Arms one fault for all files of the process, replacing any armed before.
void ArmFileFault(const FileFault& fault);
void DisarmFileFaults();

// For the backends: whether this operation fails. When it does, `allowed` receives the bytes of
// `requested` that go through first and `error` the code to fail with.
bool TakeFileFault(FileOperation operation, std::uint64_t requested, std::uint64_t& allowed,
                   ErrorCode& error);
// For the backends' Write, once the allowed bytes are out: ends the process when the fault just
// taken asks for it.
void EndProcessAfterFault();

}  // namespace platform
