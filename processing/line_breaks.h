// The line breaks of a replacement text: which kind a file gets, and the conversion to it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "processing/byte_table.h"

// The new-line mode for one file: 1, 2 and 4 stand as they are; 3 ("in file format") becomes the
// kind of the text's first line break (LF 2, CR 4, either followed by LF or CR 1), or stays 3
// when the text has none.
std::int32_t ResolveNewLineMode(std::int32_t setting, std::u16string_view text);
// The same for a text given as the bytes of a single-byte code page and its table.
std::int32_t ResolveNewLineMode(std::int32_t setting, std::span<const unsigned char> bytes,
                                const ByteTable& table);

// Every CR of the text is removed, then every LF becomes CR LF, CR or stays LF as the resolved
// mode says (2 LF, 4 CR, any other CR LF).
void ConvertLineBreaks(std::u16string& text, std::int32_t resolvedMode);
