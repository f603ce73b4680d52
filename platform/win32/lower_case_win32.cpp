#include <windows.h>

#include <array>

#include "platform/lower_case.h"

namespace platform {

const char16_t* LowerCaseTable() {
  static const std::array<char16_t, 0x10000> table = [] {
    std::array<char16_t, 0x10000> units{};
    for (unsigned unit = 0; unit < units.size(); ++unit) {
      // CharLowerW on a one-unit string, as the comparison of single units needs.
      wchar_t text[2] = {static_cast<wchar_t>(unit), 0};
      CharLowerBuffW(text, 1);
      units[unit] = static_cast<char16_t>(text[0]);
    }
    return units;
  }();
  return table.data();
}

}  // namespace platform
