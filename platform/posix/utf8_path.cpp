#include "platform/posix/utf8_path.h"

#include <unicode/ustring.h>

#include <climits>

namespace platform {
namespace {

constexpr UChar32 kReplacement = 0xFFFD;

}  // namespace

std::string ToUtf8(std::u16string_view text) {
  if (text.empty() || text.size() > INT_MAX / 3)
    return std::string();
  std::string out(text.size() * 3, '\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                     static_cast<int32_t>(text.size()), kReplacement, nullptr, &status);
  if (U_FAILURE(status))
    return std::string();
  out.resize(static_cast<size_t>(length));
  return out;
}

std::u16string FromUtf8(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX)
    return std::u16string();
  std::u16string out(text.size(), u'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                       static_cast<int32_t>(text.size()), kReplacement, nullptr, &status);
  if (U_FAILURE(status))
    return std::u16string();
  out.resize(static_cast<size_t>(length));
  return out;
}

}  // namespace platform
