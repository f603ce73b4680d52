// The program's wildcard rules for file masks, as a Windows directory listing applies them to
// long names.
#pragma once

#include <string_view>

namespace platform {

// Whether the name matches the mask: `*` any run of units, `?` exactly one, every other unit
// itself without regard to case (units compared lower-cased). A mask ending in ".*" also
// matches names without that extension, so "*.*" matches every name.
bool MatchesWildcard(std::u16string_view mask, std::u16string_view name);

}  // namespace platform
