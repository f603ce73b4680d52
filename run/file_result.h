// One file found by a run: what the walk saw, what processing did, and the matches it recorded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Calendar time with the fields of the platform's SYSTEMTIME.
struct CalendarTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t dayOfWeek = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
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
};
