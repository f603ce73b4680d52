// Paths cross the POSIX system calls as bytes, most often UTF-8; the core holds them as UTF-16.
// Bytes that are not UTF-8 travel as lone surrogates U+DC80..U+DCFF and come back unchanged (see
// NameBytesToUtf16). Windows needs none of this: its names are UTF-16 already.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string ToUtf8(std::u16string_view path);
std::u16string FromUtf8(std::string_view path);

}  // namespace platform
