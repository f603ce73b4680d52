#include "platform/posix/wildcard_match.h"

#include <unicode/uchar.h>

namespace platform {
namespace {

// Surrogate units map to themselves, so a pair is compared unit by unit.
char16_t Upper(char16_t unit) {
  if (unit < 0x80)
    return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - (u'a' - u'A')) : unit;
  return static_cast<char16_t>(u_toupper(unit));
}

bool MatchesPlain(std::u16string_view mask, std::u16string_view name) {
  constexpr size_t kNone = std::u16string_view::npos;
  size_t m = 0;
  size_t n = 0;
  size_t starMask = kNone;  // position after the last `*` seen
  size_t starName = 0;      // where the name stood when that `*` was met
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == u'*') {
      starMask = ++m;
      starName = n;
    } else if (m < mask.size() && (mask[m] == u'?' || Upper(mask[m]) == Upper(name[n]))) {
      ++m;
      ++n;
    } else if (starMask != kNone) {
      // Let the last `*` take one more unit and try again from there.
      m = starMask;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*')
    ++m;
  return m == mask.size();
}

}  // namespace

bool MatchesWildcard(std::u16string_view mask, std::u16string_view name) {
  if (MatchesPlain(mask, name))
    return true;
  constexpr std::u16string_view kAnyExtension = u".*";
  return mask.ends_with(kAnyExtension) &&
         MatchesPlain(mask.substr(0, mask.size() - kAnyExtension.size()), name);
}

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
