// Unicode byte order marks at the start of a file, and the encodings they stand for.
#pragma once

#include <optional>
#include <span>

#include "text/code_page.h"

enum class ByteOrderMark { None, Utf8, Utf16Le, Utf16Be, Utf32Le, Utf32Be };

inline constexpr CodePage kCodePageUtf8 = 65001;

// The mark the bytes start with; a UTF-32 mark wins over the UTF-16 one it begins with.
ByteOrderMark FindByteOrderMark(std::span<const unsigned char> bytes);

// The mark's bytes; empty for None.
std::span<const unsigned char> ByteOrderMarkBytes(ByteOrderMark mark);

// The code page that reads and writes a file with this mark; none for UTF-32 (not supported)
// and for None.
std::optional<CodePage> CodePageOfMark(ByteOrderMark mark);
