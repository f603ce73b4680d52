#include "platform/wildcard_match.h"

#include "platform/lower_case.h"

namespace platform {
namespace {

// Surrogate units map to themselves, so a pair is compared unit by unit.
bool MatchesPlain(std::u16string_view mask, std::u16string_view name) {
  constexpr size_t kNone = std::u16string_view::npos;
  const char16_t* lower = LowerCaseTable();
  size_t m = 0;
  size_t n = 0;
  size_t starMask = kNone;  // position after the last `*` seen
  size_t starName = 0;      // where the name stood when that `*` was met
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == u'*') {
      starMask = ++m;
      starName = n;
    } else if (m < mask.size() && (mask[m] == u'?' || lower[mask[m]] == lower[name[n]])) {
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

}  // namespace platform
