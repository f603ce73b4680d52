// Telling a binary file from a text file by its first bytes.
#pragma once

#include <cstddef>
#include <span>

#include "text/code_page.h"

// How many of a file's first bytes the test looks at.
inline constexpr size_t kBinarySniffSize = 8192;

// Whether a file that starts with these bytes is binary: a zero byte among the first
// kBinarySniffSize, unless the file is read as UTF-16 or UTF-32 or starts with a Unicode byte
// order mark.
bool LooksBinary(std::span<const unsigned char> head, CodePage inputCodePage);
