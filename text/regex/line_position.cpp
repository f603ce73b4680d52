#include "text/regex/line_position.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool IsBreak(char16_t c) {
  return c == u'\r' || c == u'\n';
}

// Line breaks in [from, to): every CR, and every LF that does not follow a CR. The unit before
// from was a CR when afterCarriageReturn is set.
std::int64_t CountBreaks(const char16_t* text, size_t from, size_t to, bool afterCarriageReturn) {
  if (from >= to)
    return 0;
  std::int64_t breaks = text[from] == u'\r' || (text[from] == u'\n' && !afterCarriageReturn);
  size_t i = from + 1;  // from here on the previous unit lies in the range
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi16(u'\r');
  const __m128i lf = _mm_set1_epi16(u'\n');
  const __m128i ones = _mm_set1_epi16(1);
  while (i + 8 <= to) {
    // 16-bit lane counters take at most 16384 steps before they are summed.
    const size_t blockEnd = std::min(to, i + 8 * 16384);
    __m128i counts = _mm_setzero_si128();
    for (; i + 8 <= blockEnd; i += 8) {
      const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
      const __m128i previous = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i - 1));
      const __m128i lineFeedAlone =
          _mm_andnot_si128(_mm_cmpeq_epi16(previous, cr), _mm_cmpeq_epi16(units, lf));
      counts = _mm_sub_epi16(counts, _mm_or_si128(_mm_cmpeq_epi16(units, cr), lineFeedAlone));
    }
    alignas(16) std::int32_t sums[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(sums), _mm_madd_epi16(counts, ones));
    breaks += std::int64_t{sums[0]} + sums[1] + sums[2] + sums[3];
  }
#endif
  for (; i < to; ++i)
    breaks += text[i] == u'\r' || (text[i] == u'\n' && text[i - 1] != u'\r');
  return breaks;
}

// The index after the last line break in [from, to), or from when there is none.
size_t AfterLastBreak(const char16_t* text, size_t from, size_t to) {
  size_t i = to;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi16(u'\r');
  const __m128i lf = _mm_set1_epi16(u'\n');
  for (; i >= from + 8; i -= 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i - 8));
    const unsigned mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(units, cr), _mm_cmpeq_epi16(units, lf))));
    if (mask)
      return i - 8 + static_cast<size_t>(31 - std::countl_zero(mask)) / 2 + 1;
  }
#endif
  for (; i > from; --i) {
    if (IsBreak(text[i - 1]))
      return i;
  }
  return from;
}

}  // namespace

LineColumn LinePosition(const char16_t* textStart, const char16_t* position) {
  LineCounter counter;
  return counter.At(textStart, static_cast<size_t>(position - textStart));
}

LineColumn LineCounter::At(const char16_t* text, size_t offset) {
  if (offset < offset_)
    Reset();
  const size_t from = offset_;
  if (offset == from)
    return counted_;
  counted_.line += CountBreaks(text, from, offset, afterCarriageReturn_);
  const size_t lineStart = AfterLastBreak(text, from, offset);
  if (lineStart > from)
    counted_.column = static_cast<std::int64_t>(offset - lineStart);
  else
    counted_.column += static_cast<std::int64_t>(offset - from);
  afterCarriageReturn_ = text[offset - 1] == u'\r';
  offset_ = offset;
  return counted_;
}
