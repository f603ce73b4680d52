// One file found by a run: what the walk saw, what processing did, and the matches it recorded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/calendar_time.h"
#include "platform/path_separator.h"

// Why a run passed over a file (or a folder) without processing it.
enum class SkipReason : std::int32_t {
  None = 0,
  Binary = 1,    // its first bytes hold a zero byte
  Excluded = 2,  // an exclusion takes it
  Size = 3,      // outside the size limits
  Date = 4,      // outside the date limits
};
inline constexpr int kSkipReasons = 5;

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
  SkipReason skipped = SkipReason::None;
};

inline std::u16string FullPathOf(const CFileResult& file) {
  return platform::JoinPath(file.folder, file.name);
}
