// Code page numbers: a signed 32-bit number naming the encoding of a file's bytes. The numbers
// below have a meaning of the program's own; any other number is a platform code page.
#pragma once

#include <cstdint>

using CodePage = std::int32_t;

inline constexpr CodePage kCodePageAnsi = 0;      // the system's ANSI code page
inline constexpr CodePage kCodePageOem = 1;       // the system's OEM code page
inline constexpr CodePage kCodePageMac = 2;       // the system's Macintosh code page
inline constexpr CodePage kCodePageUtf16Le = -1;  // the bytes are the units; no conversion
inline constexpr CodePage kCodePageUtf16Be = -2;  // the units with their two bytes exchanged
