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

// The table to search these bytes with as those of a one-to-one code page: the code page's own
// (OneToOneByteTable), or, for a code page that reads UTF-8 and bytes that are all ASCII, the
// table of ASCII with the bytes above 0x7F (which the bytes do not hold) standing for U+FFFF.
// False when the bytes need decoding.
bool ByteTableFor(CodePage codePage, std::span<const unsigned char> bytes, ByteTable& table);
