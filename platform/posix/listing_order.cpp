#include "platform/posix/listing_order.h"

#include <unicode/uchar.h>

namespace platform {
namespace {

// Surrogate units map to themselves, so a pair is compared unit by unit.
char16_t Upper(char16_t unit) {
  if (unit < 0x80)
    return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - (u'a' - u'A')) : unit;
  return static_cast<char16_t>(u_toupper(unit));
}

}  // namespace

bool ListingOrderLess(std::u16string_view a, std::u16string_view b) {
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    char16_t ua = Upper(a[i]);
    char16_t ub = Upper(b[i]);
    if (ua != ub)
      return ua < ub;
  }
  if (a.size() != b.size())
    return a.size() < b.size();
  return a < b;
}

}  // namespace platform
