// The wildcard semantics and name order of a Windows directory listing, for the POSIX listing.
#pragma once

#include <string_view>

namespace platform {

// Whether the name matches the mask: `*` any run of units, `?` exactly one, every other unit
// itself without regard to case. A mask ending in ".*" also matches names without that
// extension, so "*.*" matches every name.
bool MatchesWildcard(std::u16string_view mask, std::u16string_view name);

// The order in which NTFS lists names: by their upper-cased units; names equal but for case
// are ordered by their units as they stand.
bool ListingOrderLess(std::u16string_view a, std::u16string_view b);

}  // namespace platform
