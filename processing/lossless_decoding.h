// Whether the decoding of a file's bytes keeps every byte: bytes that are invalid in the code
// page become default characters and would be lost on writing the text back.
#pragma once

#include <span>

#include "platform/system_error.h"
#include "text/code_page.h"

enum class DecodingLoss {
  kNone,
  kUndecodableBytes,  // some bytes do not decode to a character
  kNoRoundTrip,       // the platform cannot tell, and the text does not encode back the same
};

// What decoding the bytes in the code page loses. Code pages -1 and -2 and one-to-one
// single-byte code pages never lose a byte. Where the platform cannot check a code page for
// invalid bytes, the decoded text is encoded back and compared. Returns 0, or the error of a
// conversion that failed (the check then has no answer).
[[nodiscard]]
platform::ErrorCode CheckDecodingLoss(CodePage codePage, std::span<const unsigned char> bytes,
                                      DecodingLoss& loss);
