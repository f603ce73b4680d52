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
// recorded match, counted from 1, each followed by the match's line where it was kept: indented
// for Find only, else as it was ("  - ") and as the change left it ("  + "), the match or what
// took its place between "»" and "«" (MatchLineText).
// A preview's rename follows on two lines: "Old name: %s", then "New name: %s" or "To the
// recycle bin".
std::u16string MatchDetailsText(const std::u16string& fullPath, const CFileResult& result);

// A preview row's Result: "%d changes" for a change of content, else the new name or "To the
// recycle bin".
std::u16string PreviewResultText(const CFileResult& result);

// A kept line for showing on one line: a tab as four spaces, a line break (CR LF, LF or CR) as
// "↵", the mark between "»" and "«".
std::u16string MatchLineText(std::u16string_view line, std::uint32_t mark,
                             std::uint32_t markLength);

// The index of the match that a line of MatchDetailsText (counted from 0) belongs to, or -1 for
// the path's line and lines past the end.
std::int64_t MatchOfDetailsLine(const CFileResult& result, std::int64_t detailsLine);
