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

// File names on POSIX are bytes, most often UTF-8. Decoded for the program, every byte of a name
// that is not part of valid UTF-8 becomes a lone surrogate U+DC80..U+DCFF (U+DC00 plus the byte),
// so that the name encodes back to exactly the bytes it came from; valid UTF-8 decodes as above.
// Encoding turns any lone U+DC80..U+DCFF into its byte, whatever its origin, so such units from
// elsewhere (a replacement text) stand for raw bytes too, and a run of them that spells valid
// UTF-8 comes back from the system as that character. Other lone surrogates encode as U+FFFD.
// Windows names are UTF-16 already and need none of this.
std::u16string NameBytesToUtf16(std::string_view bytes);
std::string Utf16ToNameBytes(std::u16string_view text);

// Whether the text holds a lone U+DC80..U+DCFF, a byte of a name that is not UTF-8.
bool HoldsEscapedBytes(std::u16string_view text);

// The text as it is shown: every lone surrogate (a name's stray byte among them) becomes U+FFFD.
std::u16string ShownText(std::u16string_view text);
