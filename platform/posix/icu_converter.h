// Opening an ICU converter set up the way the program converts.
#pragma once

#include <unicode/ucnv.h>

#include <memory>

#include "platform/posix/icu_code_pages.h"
#include "platform/system_error.h"

namespace platform {

struct IcuConverterClose {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using IcuConverter = std::unique_ptr<UConverter, IcuConverterClose>;

// The converter of a code page with fallback mappings on, as the platform's best fit does;
// a character that cannot be represented becomes "?", except in UTF-8, which writes U+FFFD
// for a lone surrogate. Null, with error set, when ICU cannot open it.
IcuConverter OpenIcuConverter(const IcuCodePage& codePage, ErrorCode& error);

// The platform error code for a failed ICU status.
ErrorCode IcuError(UErrorCode status);

}  // namespace platform
