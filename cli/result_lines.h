// What the console front end prints for a listed file, an error and the end of a run: tab-separated
// lines like the results list, or one JSON object per line.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "run/record/file_result.h"
#include "run/skip_counts.h"

// Receives text in pieces, in order.
using TextSink = std::function<void(std::string_view)>;

// The row's columns Name, Type, Size, Modified, Result and Path separated by tabs, then a line
// per recorded match, indented by a tab and counted from 1 (none without `positions`). Control
// characters inside a column become '?' so that every line stays one row.
void WriteFileResultLines(const CFileResult& file, const TextSink& write, bool positions = true);

// {"type":"file","name":…,"folder":…,"path":…,"size":N,"modified":"YYYY-MM-DDTHH:MM:SS",
// "result":…,"matches":[[line,character],…]} with the recorded 0-based positions, and a newline.
// Where the path holds bytes that are not UTF-8 (shown as U+FFFD), "nameHex" and "pathHex" follow
// "path" with the exact bytes of the name and the path in hexadecimal.
// `members` (JSON members, each with a comma before it) go after "matches". Without `positions`
// "count":N, the number of matches, stands in place of "matches".
void WriteFileResultJson(const CFileResult& file, const TextSink& write,
                         std::string_view members = {}, bool positions = true);
// {"type":"skipped",…} with the fields of a file line but no matches, and "reason": "binary",
// "excluded" (a file or a whole folder), "size" or "date"; and a newline.
std::string SkippedJson(const CFileResult& file);
// {"type":"error","text":…} and a newline.
std::string ErrorJson(const std::u16string& text);
// {"type":"end","found":N} and a newline; after a run that skipped files, "skipped" follows with
// the count of each reason that occurred ({"binary":12,"excluded":340}).
std::string EndJson(int found, const SkipCounts& skips = {});

// The text without the line breaks at its end (system error texts end with one), so that it
// prints as one line.
std::u16string_view WithoutTrailingBreaks(std::u16string_view text);

// "YYYY-MM-DDTHH:MM:SS".
std::string IsoDateText(const CalendarTime& time);
