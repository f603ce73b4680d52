// Lower-casing of single UTF-16 units as the platform does it for a one-unit string
// (CharLowerW on Windows, ICU's simple lower-case mapping elsewhere).
#pragma once

namespace platform {

// A table of all 65,536 units, built once on first use; safe to call from any thread.
const char16_t* LowerCaseTable();

inline char16_t LowerCaseUnit(char16_t unit) {
  return LowerCaseTable()[unit];
}

}  // namespace platform
