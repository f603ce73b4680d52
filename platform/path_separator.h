// The separator between a folder and the names in it, as the platform's paths write it, and the
// one way paths are joined.
#pragma once

#include <string>
#include <string_view>

namespace platform {

#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

// Folder, separator, name, with exactly one separator between them: none is added after a
// folder that already ends in one (a drive root "C:\", the root "/"; on Windows also a slash).
inline std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
  std::u16string path;
  path.reserve(folder.size() + 1 + name.size());
  path += folder;
#ifdef _WIN32
  const bool endsInSeparator = !folder.empty() && (folder.back() == u'\\' || folder.back() == u'/');
#else
  const bool endsInSeparator = !folder.empty() && folder.back() == u'/';
#endif
  if (!endsInSeparator)
    path += kPathSeparator;
  path += name;
  return path;
}

}  // namespace platform
