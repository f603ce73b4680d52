// Conversions between the core's UTF-16 strings and the wchar_t strings of Win32 calls.
#pragma once

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

namespace platform {

inline const wchar_t* Wide(const std::u16string& s) {
  return reinterpret_cast<const wchar_t*>(s.c_str());
}

inline wchar_t* Wide(char16_t* s) {
  return reinterpret_cast<wchar_t*>(s);
}

inline std::u16string FromWide(const wchar_t* s) {
  return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string();
}

inline std::u16string FromWide(const wchar_t* s, size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(s), length);
}

}  // namespace platform
