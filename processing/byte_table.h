// The decoding of a single-byte code page as a table, for searching a file's bytes without
// decoding them first.
#pragma once

#include <array>
#include <span>

#include "text/code_page.h"

using ByteTable = std::array<char16_t, 256>;

// The unit of every byte, when the code page decodes each byte alone to a character of its own
// that encodes back to that byte; false for any other code page (multi-byte, stateful, lossy,
// or one the platform cannot convert). Answers are kept for the life of the process.
bool OneToOneByteTable(CodePage codePage, ByteTable& table);

// For a code page that reads UTF-8 and bytes that are all ASCII, which it reads one to one: the
// table of ASCII, bytes above 0x7F (which the bytes do not hold) standing for U+FFFF. The bytes
// can then be searched and changed as those of a one-to-one code page.
bool AsciiUtf8ByteTable(CodePage codePage, std::span<const unsigned char> bytes, ByteTable& table);
