// The check that a new file name keeps the file in its folder.
#pragma once

#include <string_view>

// False for an empty name, for "." and "..", and for a name holding a path separator (a slash,
// and on Windows a backslash too): moving to such a name would take the file out of its folder.
// On Windows also for a name ending in a dot or a space, which the path rules cut off (a name
// of dots and spaces only becomes nothing, "." or ".."), and for a device name such as "CON" or
// "nul.txt", which names a device instead of a file.
bool StaysInFolder(std::u16string_view name);
