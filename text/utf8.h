// UTF-8 to and from the program's UTF-16, for command lines, consoles and JSON.
#pragma once

#include <string>
#include <string_view>

// Decodes `count` bytes of UTF-8 into `out`, which has room for `count` units (UTF-8 never takes
// fewer bytes than units); returns the number of units. Each maximal invalid subsequence (and
// an encoded surrogate) becomes U+FFFD; `valid` tells whether there was none.
size_t DecodeUtf8(const unsigned char* bytes, size_t count, char16_t* out, bool& valid);

// Decodes UTF-8 as DecodeUtf8 does; each maximal invalid subsequence (and an encoded surrogate)
// becomes U+FFFD. Returns whether the input was valid.
bool Utf8ToUtf16(std::string_view utf8, std::u16string& out);

// Encodes UTF-16; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
