#include <windows.h>

#include <lmerr.h>

#include "platform/system_error.h"
#include "platform/win32/wide.h"

namespace platform {

const ErrorCode kErrorOutOfMemory = ERROR_NOT_ENOUGH_MEMORY;
const ErrorCode kErrorCancelled = ERROR_CANCELLED;
// What MultiByteToWideChar reports for a code page it does not know.
const ErrorCode kErrorCodePageNotSupported = ERROR_INVALID_PARAMETER;
// MoveFileW's error for an existing target without MOVEFILE_REPLACE_EXISTING.
const ErrorCode kErrorFileExists = ERROR_ALREADY_EXISTS;

ErrorCode LastError() {
  return GetLastError();
}

}  // namespace platform

bool FormatSystemError(platform::ErrorCode code, std::u16string& out) {
  DWORD flags =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
  HMODULE netmsg = nullptr;
  if (code >= NERR_BASE && code <= MAX_NERR) {
    netmsg = LoadLibraryExW(L"netmsg.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (netmsg)
      flags |= FORMAT_MESSAGE_FROM_HMODULE;
  }
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(flags, netmsg, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  bool ok = length > 0 && buffer;
  if (ok)
    out = platform::FromWide(buffer, length);
  if (buffer)
    LocalFree(buffer);
  if (netmsg)
    FreeLibrary(netmsg);
  return ok;
}
