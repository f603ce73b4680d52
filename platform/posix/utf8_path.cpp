#include "platform/posix/utf8_path.h"

#include "text/utf8.h"

namespace platform {

std::string ToUtf8(std::u16string_view text) {
  return Utf16ToUtf8(text);
}

std::u16string FromUtf8(std::string_view text) {
  std::u16string out;
  Utf8ToUtf16(text, out);
  return out;
}

}  // namespace platform
