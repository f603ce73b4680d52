// Line and column of a position in a text: line breaks before it (CR, LF or CR LF, each one
// break) and units since the last of them, both counted from 0.
#pragma once

#include <cstddef>
#include <cstdint>

struct LineColumn {
  std::int64_t line = 0;
  std::int64_t column = 0;
};

LineColumn LinePosition(const char16_t* textStart, const char16_t* position);

// Counts forward from the last position asked for, so that positions asked for in increasing
// order cost one pass over the text. The text before the last position must not change between
// calls; Reset starts over.
class LineCounter {
 public:
  LineColumn At(const char16_t* text, size_t offset);
  void Reset() { *this = LineCounter(); }

 private:
  size_t offset_ = 0;
  LineColumn counted_;
  bool afterCarriageReturn_ = false;
};
