// Fast passes over text for the plain scan: finding places where given values stand, and
// counting line breaks. Texts are UTF-16 units, or the bytes of a single-byte code page (where
// the caller names the bytes of CR and LF). Vectorised with SSE2 where the compiler offers it.
#pragma once

#include <cstddef>
#include <cstdint>

// One to four values, any of which may stand at a place; none when count is 0.
template <class T>
struct ValueChoice {
  T values[4] = {};
  int count = 0;

  bool Contains(T value) const {
    for (int i = 0; i < count; ++i) {
      if (values[i] == value)
        return true;
    }
    return false;
  }
  // False when the choice is full.
  bool Add(T value) {
    if (Contains(value))
      return true;
    if (count == 4)
      return false;
    values[count++] = value;
    return true;
  }
};

using UnitChoice = ValueChoice<char16_t>;
using ByteChoice = ValueChoice<unsigned char>;

inline constexpr size_t kNoPosition = static_cast<size_t>(-1);

// The first index p in [from, last] where text[p] is one of `first` and text[p + offset] is one
// of `second`; kNoPosition when there is none. Every value up to text[last + offset] is readable.
size_t FindPair(const char16_t* text, size_t from, size_t last, const UnitChoice& first,
                size_t offset, const UnitChoice& second);
size_t FindPair(const unsigned char* text, size_t from, size_t last, const ByteChoice& first,
                size_t offset, const ByteChoice& second);

// Line breaks in text[from, to): CR, LF, or a CR LF pair as one; an LF at `from` counts as a
// break of its own whatever stands before it.
struct BreakCount {
  std::int64_t breaks = 0;
  // The index after the last break, when there was one.
  size_t afterLastBreak = kNoPosition;
};

// The values that stand for CR and LF; a choice of count 0 where the text has none.
template <class T>
struct BreakValues {
  ValueChoice<T> carriageReturn;
  ValueChoice<T> lineFeed;
};

BreakCount CountBreaks(const char16_t* text, size_t from, size_t to);
BreakCount CountBreaks(const unsigned char* text, size_t from, size_t to,
                       const BreakValues<unsigned char>& breaks);

// Set bits, without the instruction the baseline processor may lack (std::popcount would call
// the runtime library).
inline int CountBits(std::uint64_t bits) {
  bits -= (bits >> 1) & 0x5555555555555555u;
  bits = (bits & 0x3333333333333333u) + ((bits >> 2) & 0x3333333333333333u);
  bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<int>((bits * 0x0101010101010101u) >> 56);
}
