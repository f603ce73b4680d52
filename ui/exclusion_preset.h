// The Exclude field's one-click preset of the usual version-control and build folders.
#pragma once

#include <string>

// The field's list with every item of the preset list that it does not hold yet appended; a
// field that does not parse gets the preset after a comma all the same, for the user to mend.
std::u16string AddExclusionPreset(const std::u16string& field, const std::u16string& preset);
