#include "platform/posix/icu_converter.h"

#include <cerrno>

namespace platform {

IcuConverter OpenIcuConverter(const IcuCodePage& codePage, ErrorCode& error) {
  UErrorCode status = U_ZERO_ERROR;
  IcuConverter converter(ucnv_open(codePage.converterName, &status));
  if (U_FAILURE(status) || !converter) {
    error = status == U_MEMORY_ALLOCATION_ERROR ? kErrorOutOfMemory : kErrorCodePageNotSupported;
    return nullptr;
  }
  ucnv_setFallback(converter.get(), true);
  if (ucnv_getType(converter.get()) != UCNV_UTF8) {
    // Should the code page lack "?", ICU's own substitute stays.
    status = U_ZERO_ERROR;
    ucnv_setSubstString(converter.get(), u"?", 1, &status);
  }
  return converter;
}

ErrorCode IcuError(UErrorCode status) {
  return status == U_MEMORY_ALLOCATION_ERROR ? kErrorOutOfMemory : static_cast<ErrorCode>(EILSEQ);
}

}  // namespace platform
