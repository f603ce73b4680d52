// Conversion between a file's bytes and its text, in the code pages the user chose.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/system_error.h"
#include "text/byte_buffer.h"
#include "text/code_page.h"
#include "text/text_buffer.h"

// The new buffer of ConvertText: decoding fills text, encoding fills bytes; the other stays
// empty.
struct ConvertedBuffer {
  TextBuffer text;
  ByteBuffer bytes;
};

// Decodes (toBytes false: source holds count bytes) or encodes (toBytes true: source holds count
// units) in codePage, into a new buffer; byteLength receives the byte length of the result
// (twice the unit count of a text). Invalid bytes and characters the code page cannot represent
// are replaced by the platform's defaults without an error; a count of 0 gives an empty buffer
// without a platform call. On failure false is returned, errorCode (when given) receives the
// platform's error code, and no buffer stays allocated.
bool ConvertText(bool toBytes, ConvertedBuffer& buffer, size_t count, const void* source,
                 size_t& byteLength, CodePage codePage, platform::ErrorCode* errorCode = nullptr);

// Code page -1 without a conversion: the bytes, least significant first, taken as the units
// (a trailing odd byte is not part of the text); false when memory runs out.
bool BytesAsText(const void* bytes, size_t byteCount, TextBuffer& text);

// Code page -1 without a conversion: the units as they are, two bytes each, least significant
// first, followed by two zero bytes; false when memory runs out.
bool TextAsBytes(std::u16string_view text, ByteBuffer& bytes);
