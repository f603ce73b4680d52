// The order of names in a Windows directory listing, for the POSIX listing.
#pragma once

#include <string_view>

namespace platform {

// The order in which NTFS lists names: by their upper-cased units; names equal but for case
// are ordered by their units as they stand.
bool ListingOrderLess(std::u16string_view a, std::u16string_view b);

}  // namespace platform
