// The lines a change touches, before and after it, for the confirmation question and the
// preview's list of changes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "processing/search/match_edit.h"
#include "run/record/file_result.h"

// Units kept on each side of a change when a caller cuts the text down to what LinesOfChange
// can show.
inline constexpr size_t kChangeLinesReach = 256;

// The lines of `text` that the edit touches (with the match, when the two meet), as they are with
// the match marked, and as they would be with the inserted text marked. A match outside those
// lines has no mark.
ChangeLines LinesOfChange(std::u16string_view text, size_t matchStart, size_t matchEnd,
                          const TextEdit& edit);

// "Before: …" and "After: …" on two lines: each side cut to some units around its mark (with
// "…"), the mark between "»" and "«", tabs as spaces, line breaks as "¶" and other control
// characters as "?".
std::u16string ChangeLinesText(const ChangeLines& lines);
