// The separator between a folder and the names in it, as the platform's paths write it.
#pragma once

namespace platform {

#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

}  // namespace platform
