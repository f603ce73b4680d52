// Platform error codes and their message texts.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using ErrorCode = std::uint32_t;

// The calling thread's last platform error (GetLastError, or errno).
ErrorCode LastError();

// Codes the program reports itself.
extern const ErrorCode kErrorOutOfMemory;           // not enough memory
extern const ErrorCode kErrorCancelled;             // the operation was canceled
extern const ErrorCode kErrorCodePageNotSupported;  // a code page the platform cannot convert
extern const ErrorCode kErrorFileExists;  // a move's target exists (as MoveFileNoReplace fails)

}  // namespace platform

// The system's message text for a platform error code (network codes 2100 to 2999 included on
// Windows), as the system gives it, trailing line break included. On failure `out` is left
// unchanged and false is returned.
bool FormatSystemError(platform::ErrorCode code, std::u16string& out);
