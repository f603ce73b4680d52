// Paths cross the POSIX system calls as UTF-8; the core holds them as UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Unpaired surrogates and invalid bytes become U+FFFD.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

}  // namespace platform
