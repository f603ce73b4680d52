// How the system holds file names: as bytes on POSIX, where those that are not UTF-8 travel in the
// program's text as lone surrogates (see NameBytesToUtf16); as UTF-16 on Windows, like the text.
#pragma once

namespace platform {

#ifdef _WIN32
inline constexpr bool kNamesAreBytes = false;
#else
inline constexpr bool kNamesAreBytes = true;
#endif

}  // namespace platform
