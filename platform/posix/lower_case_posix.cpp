#include <unicode/uchar.h>

#include <array>

#include "platform/lower_case.h"

namespace platform {

const char16_t* LowerCaseTable() {
  static const std::array<char16_t, 0x10000> table = [] {
    std::array<char16_t, 0x10000> units{};
    for (unsigned unit = 0; unit < units.size(); ++unit) {
      UChar32 lower = u_tolower(static_cast<UChar32>(unit));
      // A unit whose lower case lies outside the basic plane stays as it is.
      units[unit] = lower <= 0xFFFF ? static_cast<char16_t>(lower) : static_cast<char16_t>(unit);
    }
    return units;
  }();
  return table.data();
}

}  // namespace platform
