// The decoding of a single-byte code page as a table, for searching a file's bytes without
// decoding them first.
#pragma once

#include <array>

#include "text/code_page.h"

using ByteTable = std::array<char16_t, 256>;

// The unit of every byte, when the code page decodes each byte alone to a character of its own
// that encodes back to that byte; false for any other code page (multi-byte, stateful, lossy,
// or one the platform cannot convert). Answers are kept for the life of the process.
bool OneToOneByteTable(CodePage codePage, ByteTable& table);
