// Conversion between the bytes of a platform code page and UTF-16 text units. Code pages 0, 1
// and 2 are the system's ANSI, OEM and Macintosh code pages; other numbers name platform code
// pages. Bytes that are invalid in the code page and characters that it cannot represent are
// replaced by the platform's defaults without an error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/system_error.h"

namespace platform {

// A block from the C heap allocator, as the text buffers take them over.
struct HeapFree {
  void operator()(void* block) const { std::free(block); }
};
template <class T>
using HeapArray = std::unique_ptr<T[], HeapFree>;

// Decodes count bytes (count > 0): units receives a new block of unitCount units followed by a
// zero unit. On failure error receives the platform's code and units stays empty.
bool DecodeCodePage(std::int32_t codePage, const unsigned char* bytes, size_t count,
                    HeapArray<char16_t>& units, size_t& unitCount, ErrorCode& error);

// Encodes count units (count > 0): bytes receives a new block of byteCount bytes followed by a
// zero byte. On failure error receives the platform's code and bytes stays empty.
bool EncodeCodePage(std::int32_t codePage, const char16_t* units, size_t count,
                    HeapArray<unsigned char>& bytes, size_t& byteCount, ErrorCode& error);

enum class DecodingCheck {
  kClean,        // every byte decodes to a character
  kUndecodable,  // some sequence is malformed or has no character: decoding replaces it
  kCannotTell,   // the platform cannot check this code page
  kFailed,       // the conversion itself failed; error holds its code
};

// Checks whether decoding count bytes (count > 0) in the code page would replace any of them by
// a default character.
DecodingCheck CheckDecoding(std::int32_t codePage, const unsigned char* bytes, size_t count,
                            ErrorCode& error);

}  // namespace platform
