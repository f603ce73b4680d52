#include "platform/posix/utf8_path.h"

#include "text/utf8.h"

namespace platform {

std::string ToUtf8(std::u16string_view path) {
  return Utf16ToNameBytes(path);
}

std::u16string FromUtf8(std::string_view path) {
  return NameBytesToUtf16(path);
}

}  // namespace platform
