// Whether the decoding of a file's bytes kept every byte: with the platform's conversion, bytes
// that are invalid in the code page become default characters and are lost on writing back.
#pragma once

#include <span>

#include "platform/system_error.h"
#include "text/code_page.h"

// Sets `lossless` to whether the bytes, decoded in the code page, encode back to the same bytes.
// Code pages -1 and -2 never lose a byte of the text. Returns 0, or the error of a conversion
// that failed (the check then has no answer).
platform::ErrorCode CheckLosslessDecoding(CodePage codePage, std::span<const unsigned char> bytes,
                                          bool& lossless);
