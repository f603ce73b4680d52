// The difference of two texts line by line, as the hunks of a unified diff. Lines end after each
// LF; a last line without one is a line too. The edit script is a shortest one (Myers) unless
// the texts differ so much that finding it would cost too long, when it may be longer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct DiffLine {
  char kind = ' ';   // ' ' context, '-' removed, '+' added
  std::string text;  // the line, its LF included when it has one
};

struct DiffHunk {
  // Counted from 1 as a unified diff writes them; a start with a count of 0 is the line before.
  size_t oldStart = 0;
  size_t oldCount = 0;
  size_t newStart = 0;
  size_t newCount = 0;
  std::vector<DiffLine> lines;
};

// The hunks that turn `before` into `after`, each change with `context` unchanged lines around
// it; changes closer than twice that share a hunk. Empty when the texts are equal.
std::vector<DiffHunk> DiffLines(std::string_view before, std::string_view after, size_t context);

// "@@ -l,s +l,s @@" with the counts of 1 left out, as diff writes it.
std::string HunkHeader(const DiffHunk& hunk);
