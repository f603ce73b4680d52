// The texts of a result row and of the details field below the results list.
#pragma once

#include <cstdint>
#include <string>

#include "run/record/file_result.h"

// The size in the largest unit (Bytes, KB, MB, GB, TB) whose value is not 0, truncated: "1 KB".
std::u16string SizeText(std::uint64_t size);

// Day, month, year, hour and minute without leading zeros: "8:12:2026  9:5".
std::u16string DateText(const CalendarTime& time);

// The full path on its own line, then one "Line number: %d. Character number: %d" line per
// recorded match, counted from 1.
std::u16string MatchDetailsText(const std::u16string& fullPath, const CFileResult& result);
