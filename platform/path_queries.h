// What the folder walk asks about one path.
#pragma once

#include <string>

namespace platform {

// Whether the path names an existing directory (a link to one included).
bool IsDirectory(const std::u16string& path);

// The shell's type name of the file; empty when the shell gives none.
std::u16string FileTypeName(const std::u16string& path);

}  // namespace platform
