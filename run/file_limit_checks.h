// The size and modification-time limits of a run's files: the test of a file, and the texts
// the limits are typed as.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/calendar_time.h"
#include "run/record/file_limits.h"


// Which limit a file is outside of, the size checked first.
enum class LimitCheck { Inside, Size, Date };

LimitCheck CheckFileLimits(const FileLimits& limits, std::uint64_t size,
                           const CalendarTime& modified);

// Seconds since 1970-01-01 00:00 of a calendar time, the time zone left as it is.
std::int64_t LocalSeconds(const CalendarTime& time);

// A size: digits, optionally followed by K, M or G (binary multiples, any case), blanks around
// ignored. An empty text is no limit. False when malformed or too large.
bool ParseSizeLimit(std::u16string_view text, std::optional<std::uint64_t>& size);

// A moment: a date as YYYY-MM-DD, optionally followed by T or a blank and HH:MM or HH:MM:SS, in
// local time; or an age counted back from `now`: digits followed by h (hours), d (days) or w
// (weeks). An empty text is no limit. False when malformed.
bool ParseDateLimit(std::u16string_view text, const CalendarTime& now,
                    std::optional<std::int64_t>& seconds);

// The four limit texts as the settings hold them.
struct LimitTexts {
  std::u16string_view minSize;
  std::u16string_view maxSize;
  std::u16string_view newer;
  std::u16string_view older;
};

// Parses all four; on the first malformed one returns false with `message` telling the user.
bool ParseFileLimits(const LimitTexts& texts, const CalendarTime& now, FileLimits& limits,
                     std::u16string& message);
