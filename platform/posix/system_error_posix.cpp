#include <cerrno>
#include <cstring>

#include "platform/string_table.h"
#include "platform/system_error.h"
#include "text/utf8.h"

namespace platform {

// errno values, and one code of the program's own above their range.
const ErrorCode kErrorOutOfMemory = ENOMEM;
const ErrorCode kErrorCancelled = ECANCELED;
const ErrorCode kErrorCodePageNotSupported = 0x20000001;
const ErrorCode kErrorFileExists = EEXIST;

ErrorCode LastError() {
  return static_cast<ErrorCode>(errno);
}

}  // namespace platform

bool FormatSystemError(platform::ErrorCode code, std::u16string& out) {
  std::u16string text;
  if (code == platform::kErrorCodePageNotSupported) {
    text = platform::LoadText(IDS_CODE_PAGE_NOT_SUPPORTED);
  } else {
    char buffer[256];
    // The GNU strerror_r returns its text; it may not use the buffer.
    const char* message = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
    // The C library's texts are UTF-8 (plain ASCII in the C locale).
    Utf8ToUtf16(message, text);
  }
  if (text.empty())
    return false;
  // System texts end with a line break, as they do on Windows.
  out = text + u"\r\n";
  return true;
}
