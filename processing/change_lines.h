// The lines a change touches, before and after it, for the confirmation question and the
// preview's list of changes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "run/record/file_result.h"
#include "run/record/run_types.h"

// One change of a text: `removed` units at `start` give way to `inserted`.
struct TextEdit {
  size_t start = 0;
  size_t removed = 0;
  std::u16string_view inserted;
};

// The edit an action makes for the match [start, end) of a text of `length` units.
TextEdit EditOfAction(ActionType action, size_t start, size_t end, size_t length,
                      std::u16string_view replace);

// The edit an action makes when an empty find text stands for the whole text.
TextEdit WholeTextEdit(ActionType action, size_t length, std::u16string_view replace);

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
