// Lower-casing texts unit by unit; the length never changes.
#pragma once

#include <string>

#include "platform/lower_case.h"

inline void LowerCaseInPlace(std::u16string& text) {
  const char16_t* table = platform::LowerCaseTable();
  for (char16_t& unit : text)
    unit = table[unit];
}
