// What the folder walk asks about one path.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Whether the path names an existing directory (a link to one included).
bool IsDirectory(const std::u16string& path);

// The shell's type name of a file, from its name alone (a path or a bare name; the file itself is
// not looked at); empty when the shell gives none.
std::u16string FileTypeName(const std::u16string& path);

// What FileTypeName depends on, given a file's name (without folder): two names with the same
// key have the same type name. On Windows the extension, from the last dot on (empty without a
// dot); elsewhere the whole name, since the guess matches whole names and multi-part extensions.
std::u16string_view FileTypeKey(std::u16string_view name);

}  // namespace platform
