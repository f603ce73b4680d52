// One file found by a run: what the walk saw, what processing did, and the matches it recorded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/calendar_time.h"
#include "platform/path_separator.h"

// The line of a recorded match as a run keeps it, cut to a window around the match ("…" where
// cut): as found, and for a changing action also as the change leaves it. The marks are unit
// ranges of the match in `before` and of what the change put in its place in `after`.
struct MatchLine {
  std::u16string before;
  std::u16string after;
  std::uint32_t beforeMark = 0;
  std::uint32_t beforeMarkLength = 0;
  std::uint32_t afterMark = 0;
  std::uint32_t afterMarkLength = 0;
  bool changed = false;
};

struct CFileResult {
  // One recorded match, counted from 0: line breaks before it, units since the last of them.
  struct replace_info {
    std::int64_t line = 0;
    std::int64_t character = 0;
  };

  std::u16string name;
  std::u16string typeName;
  std::uint64_t size = 0;
  CalendarTime modified;
  std::u16string resultText;
  std::u16string folder;
  std::vector<replace_info> matches;
  // lines[i] belongs to matches[i]; only the first matches of a file keep their lines.
  std::vector<MatchLine> lines;
};

inline std::u16string FullPathOf(const CFileResult& file) {
  return platform::JoinPath(file.folder, file.name);
}
