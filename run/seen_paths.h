// Sets of full paths that a run must not process again, looked up by exact text in constant
// time (a plain list would make a folder of many files quadratic).
#pragma once

#include <string>
#include <unordered_set>

using SeenPaths = std::unordered_set<std::u16string>;

// False when `seen` already holds exactly this path; otherwise adds it and returns true.
inline bool IsNewInFolder(const std::u16string& fullPath, SeenPaths& seen) {
  return seen.insert(fullPath).second;
}
