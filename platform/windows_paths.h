// The rules of Windows paths and names, as plain text so that every build can test them.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Paths from this length on (MAX_PATH units, the terminating zero included) fail in Win32 calls
// unless given in the "\\?\" form.
inline constexpr size_t kMaxPathUnits = 260;

// `root` followed by the components of `rest` (split at any of `separators`), joined by
// `separator`, with empty and "." components dropped and each ".." taking away the component
// before it (never the root). Lexical only: no link is resolved.
std::u16string FoldDotSegments(std::u16string_view root, std::u16string_view rest,
                               std::u16string_view separators, char16_t separator);

// Whether the path names one place whatever the current drive and directory: "X:\…", a UNC
// path "\\server\…", or a device path "\\?\…", "\\.\…". Not "X:name", "\name" or "name".
bool IsFullyQualifiedWindowsPath(std::u16string_view path);

// Whether a name ends in a dot or a space, which Win32 path handling cuts off.
bool EndsInDotOrSpace(std::u16string_view name);

// Whether a name is a DOS device name (CON, PRN, AUX, NUL, COM0-COM9, LPT0-LPT9, the last two
// also with a superscript 1, 2 or 3), in any case, alone or with any extension ("nul.tar.gz"),
// spaces before the extension included.
bool IsReservedDeviceName(std::u16string_view name);

// Why the shell's file operations cannot be given a path as it is.
enum class ShellPathFault {
  None,
  NotFullyQualified,  // taken against the current directory, and then deleted for good
  TooLong,            // kMaxPathUnits or longer: the shell takes no "\\?\" form
  NotAsTyped,         // a device form, or a name ending in a dot or a space, which it cuts off
};
ShellPathFault CheckShellPath(std::u16string_view path);

// The form of a fully qualified path that a Win32 file-system call is given: the "\\?\" form
// ("\\?\X:\…", "\\?\UNC\server\share\…", with "." and ".." folded and every separator a
// backslash) when the path is kMaxPathUnits units or longer or a component ends in a dot or a
// space; the path unchanged otherwise, and for a relative path. With `lastIsPattern` the last
// component is a wildcard mask and keeps its trailing dots.
std::u16string Win32CallPath(std::u16string_view path, bool lastIsPattern = false);

}  // namespace platform
