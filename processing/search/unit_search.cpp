#include "processing/search/unit_search.h"

#include <bit>
#include <type_traits>

#include "processing/search/wide_vectors.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

template <class T>
size_t FindPairScalar(const T* text, size_t from, size_t last, const ValueChoice<T>& first,
                      size_t offset, const ValueChoice<T>& second) {
  for (size_t p = from; p <= last; ++p) {
    if (first.Contains(text[p]) && second.Contains(text[p + offset]))
      return p;
  }
  return kNoPosition;
}

template <class T>
bool IsBreakEnd(const T* text, size_t p, size_t to, const BreakValues<T>& breaks) {
  return breaks.lineFeed.Contains(text[p]) ||
         (breaks.carriageReturn.Contains(text[p]) &&
          !(p + 1 < to && breaks.lineFeed.Contains(text[p + 1])));
}

#if defined(__SSE2__)

// The vector operations on lanes of one value each.
template <class T>
struct Lanes;

template <>
struct Lanes<char16_t> {
  static constexpr size_t kCount = 8;
  static __m128i Splat(char16_t value) { return _mm_set1_epi16(static_cast<short>(value)); }
  static __m128i Equal(__m128i a, __m128i b) { return _mm_cmpeq_epi16(a, b); }
};

template <>
struct Lanes<unsigned char> {
  static constexpr size_t kCount = 16;
  static __m128i Splat(unsigned char value) { return _mm_set1_epi8(static_cast<char>(value)); }
  static __m128i Equal(__m128i a, __m128i b) { return _mm_cmpeq_epi8(a, b); }
};

template <class T>
__m128i Load(const T* at) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// The lane of a set bit of a byte mask.
template <class T>
size_t Lane(int bit) {
  return static_cast<size_t>(bit) / sizeof(T);
}

template <class T>
unsigned Mask(__m128i hits) {
  return static_cast<unsigned>(_mm_movemask_epi8(hits));
}

// The choice's values spread over all lanes, the first repeated where the choice has fewer.
template <class T>
struct Splats {
  explicit Splats(const ValueChoice<T>& choice) : count(choice.count) {
    for (int i = 0; i < 4; ++i)
      values[i] = Lanes<T>::Splat(choice.values[i < choice.count ? i : 0]);
  }
  // Lanes of the block that hold one of the values; none for an empty choice.
  __m128i Match(__m128i block) const {
    if (count == 0)
      return _mm_setzero_si128();
    __m128i hits = Lanes<T>::Equal(block, values[0]);
    for (int i = 1; i < count; ++i)
      hits = _mm_or_si128(hits, Lanes<T>::Equal(block, values[i]));
    return hits;
  }
  __m128i values[4];
  int count;
};

template <class T>
size_t FindPairVector(const T* text, size_t from, size_t last, const ValueChoice<T>& first,
                      size_t offset, const ValueChoice<T>& second) {
  constexpr size_t kLanes = Lanes<T>::kCount;
  size_t p = from;
  if (last - from + 1 >= kLanes) {
    const size_t lastBlock = last + 1 - kLanes;
    if (first.count == 1 && second.count == 1) {
      const __m128i a = Lanes<T>::Splat(first.values[0]);
      const __m128i b = Lanes<T>::Splat(second.values[0]);
      for (; p + kLanes <= lastBlock; p += 2 * kLanes) {
        const unsigned mask0 = Mask<T>(_mm_and_si128(Lanes<T>::Equal(Load(text + p), a),
                                                     Lanes<T>::Equal(Load(text + p + offset), b)));
        const unsigned mask1 =
            Mask<T>(_mm_and_si128(Lanes<T>::Equal(Load(text + p + kLanes), a),
                                  Lanes<T>::Equal(Load(text + p + kLanes + offset), b)));
        if ((mask0 | mask1) != 0) {
          return mask0 != 0 ? p + Lane<T>(std::countr_zero(mask0))
                            : p + kLanes + Lane<T>(std::countr_zero(mask1));
        }
      }
      for (; p <= lastBlock; p += kLanes) {
        const unsigned mask = Mask<T>(_mm_and_si128(Lanes<T>::Equal(Load(text + p), a),
                                                    Lanes<T>::Equal(Load(text + p + offset), b)));
        if (mask != 0)
          return p + Lane<T>(std::countr_zero(mask));
      }
    } else {
      const Splats<T> a(first);
      const Splats<T> b(second);
      for (; p <= lastBlock; p += kLanes) {
        const unsigned mask =
            Mask<T>(_mm_and_si128(a.Match(Load(text + p)), b.Match(Load(text + p + offset))));
        if (mask != 0)
          return p + Lane<T>(std::countr_zero(mask));
      }
    }
  }
  return FindPairScalar(text, p, last, first, offset, second);
}

// The break ends among the lanes of the block at `at` as a byte mask: LF, and CR where no LF
// follows. text[at + kLanes] must be readable.
template <class T, class Choice>
__m128i BreakEndLanes(const T* text, size_t at, const Choice& cr, const Choice& lf) {
  const __m128i here = Load(text + at);
  return _mm_or_si128(lf.Match(here),
                      _mm_andnot_si128(lf.Match(Load(text + at + 1)), cr.Match(here)));
}

template <class T, class Choice>
unsigned BreakEndMask(const T* text, size_t at, const Choice& cr, const Choice& lf) {
  return Mask<T>(BreakEndLanes(text, at, cr, lf));
}

// Break ends of a long span [from, to), each a multiple of kLanes units long: counted in byte
// counters (a unit's lanes each count it), added up before one can overflow. Where the last one
// stands is not noted.
template <class T, class Choice>
std::int64_t CountEndsBulk(const T* text, size_t from, size_t to, const Choice& cr,
                           const Choice& lf) {
  constexpr size_t kLanes = Lanes<T>::kCount;
  const __m128i zero = _mm_setzero_si128();
  __m128i counts = zero;
  std::int64_t sum = 0;
  auto add = [&] {
    const __m128i sums = _mm_sad_epu8(counts, zero);
    sum += _mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums));
    counts = zero;
  };
  int rounds = 0;
  for (size_t p = from; p < to; p += 4 * kLanes) {
    for (size_t k = 0; k < 4; ++k)
      counts = _mm_sub_epi8(counts, BreakEndLanes(text, p + k * kLanes, cr, lf));
    // Four counts a round per byte: 63 rounds fill one at most.
    if (++rounds == 63) {
      add();
      rounds = 0;
    }
  }
  add();
  return sum / static_cast<std::int64_t>(sizeof(T));
}

// One value spread over all lanes.
template <class T>
struct Splat {
  explicit Splat(T value) : value(Lanes<T>::Splat(value)), single(value) {}
  __m128i Match(__m128i block) const { return Lanes<T>::Equal(block, value); }
  __m128i value;
  T single;
};

// Break ends in [from, to - 1) block by block, counted and the last one noted in one pass; the
// spans between two matches are often short, so each block costs a mask and a population count.
// The blocks stop short of the last unit, whose successor may not be readable: the final block
// overlaps the one before, with the lanes counted already masked off. Returns where counting
// stopped.
#if defined(VOXALON_WIDE_VECTORS)
// CountEndsBulk for bytes with one value each for CR and LF, with vectors of 32 bytes.
VOXALON_WIDE std::int64_t CountEndsBulkWide(const unsigned char* text, size_t from, size_t to,
                                            unsigned char cr, unsigned char lf) {
  const __m256i crs = _mm256_set1_epi8(static_cast<char>(cr));
  const __m256i lfs = _mm256_set1_epi8(static_cast<char>(lf));
  __m256i counts = _mm256_setzero_si256();
  std::int64_t sum = 0;
  int rounds = 0;
  for (size_t p = from; p < to; p += 64) {
    for (size_t k = 0; k < 64; k += 32) {
      const __m256i ends =
          WideBreakEnds(LoadWide(text + p + k), LoadWide(text + p + k + 1), crs, lfs);
      counts = _mm256_sub_epi8(counts, ends);
    }
    EndWideRound(counts, rounds, sum);
  }
  AddWideCounts(counts, sum);
  return sum;
}
#endif

// The bulk count of a long span, with vectors of 32 bytes where they serve.
template <class T, class Choice>
std::int64_t CountEndsSpan(const T* text, size_t from, size_t to, const Choice& cr,
                           const Choice& lf) {
#if defined(VOXALON_WIDE_VECTORS)
  if constexpr (sizeof(T) == 1 && std::is_same_v<Choice, Splat<T>>) {
    if (WideVectors())
      return CountEndsBulkWide(text, from, to, cr.single, lf.single);
  }
#endif
  return CountEndsBulk(text, from, to, cr, lf);
}

template <class T, class Choice>
size_t CountEndsBlocks(const T* text, size_t from, size_t to, const Choice& cr, const Choice& lf,
                       std::int64_t& count, size_t& last) {
  constexpr size_t kLanes = Lanes<T>::kCount;
  if (to - from <= kLanes)
    return from;
  auto take = [&](size_t at, std::uint64_t mask) {
    if (mask != 0) {
      count += CountBits(mask) / static_cast<int>(sizeof(T));
      last = at + Lane<T>(63 - std::countl_zero(mask));
    }
  };
  size_t p = from;
  // A long span is counted in bulk; its last break is looked for afterwards, backwards, unless
  // one follows it.
  constexpr size_t kBulkFrom = 4096;
  size_t bulkEnd = from;
  if (to - from > kBulkFrom) {
    bulkEnd = from + (to - from - 1) / (4 * kLanes) * (4 * kLanes);
    count += CountEndsSpan(text, from, bulkEnd, cr, lf);
    p = bulkEnd;
  }
  // Four blocks at a time: one count and one test for 64 bytes.
  for (; to - p > 4 * kLanes; p += 4 * kLanes) {
    const std::uint64_t mask = std::uint64_t{BreakEndMask(text, p, cr, lf)} |
                               std::uint64_t{BreakEndMask(text, p + kLanes, cr, lf)} << 16 |
                               std::uint64_t{BreakEndMask(text, p + 2 * kLanes, cr, lf)} << 32 |
                               std::uint64_t{BreakEndMask(text, p + 3 * kLanes, cr, lf)} << 48;
    take(p, mask);
  }
  for (; to - p > kLanes; p += kLanes)
    take(p, BreakEndMask(text, p, cr, lf));
  const size_t at = to - 1 - kLanes;
  if (p - at < kLanes) {
    const unsigned seen = (1u << ((p - at) * sizeof(T))) - 1;
    take(at, BreakEndMask(text, at, cr, lf) & ~seen);
  }
  for (size_t block = bulkEnd; last == kNoPosition && block > from;) {
    block -= kLanes;
    const unsigned mask = BreakEndMask(text, block, cr, lf);
    if (mask != 0)
      last = block + Lane<T>(31 - std::countl_zero(mask));
  }
  return to - 1;
}

template <class T>
size_t CountEndsVector(const T* text, size_t from, size_t to, const BreakValues<T>& breaks,
                       std::int64_t& count, size_t& last) {
  if (breaks.carriageReturn.count == 1 && breaks.lineFeed.count == 1) {
    return CountEndsBlocks(text, from, to, Splat<T>(breaks.carriageReturn.values[0]),
                           Splat<T>(breaks.lineFeed.values[0]), count, last);
  }
  return CountEndsBlocks(text, from, to, Splats<T>(breaks.carriageReturn),
                         Splats<T>(breaks.lineFeed), count, last);
}

#endif

template <class T>
size_t FindPairAny(const T* text, size_t from, size_t last, const ValueChoice<T>& first,
                   size_t offset, const ValueChoice<T>& second) {
  if (from > last || first.count == 0 || second.count == 0)
    return kNoPosition;
#if defined(__SSE2__)
  return FindPairVector(text, from, last, first, offset, second);
#else
  return FindPairScalar(text, from, last, first, offset, second);
#endif
}

template <class T>
BreakCount CountBreaksAny(const T* text, size_t from, size_t to, const BreakValues<T>& breaks) {
  BreakCount count;
  if (from >= to)
    return count;
  size_t p = from;
  size_t last = kNoPosition;
#if defined(__SSE2__)
  p = CountEndsVector(text, from, to, breaks, count.breaks, last);
#endif
  if (breaks.carriageReturn.count == 1 && breaks.lineFeed.count == 1) {
    const T cr = breaks.carriageReturn.values[0];
    const T lf = breaks.lineFeed.values[0];
    for (; p < to; ++p) {
      if (text[p] == lf || (text[p] == cr && !(p + 1 < to && text[p + 1] == lf))) {
        ++count.breaks;
        last = p;
      }
    }
  }
  for (; p < to; ++p) {
    if (IsBreakEnd(text, p, to, breaks)) {
      ++count.breaks;
      last = p;
    }
  }
  // The last CR or LF ends a break: an LF always, a CR because no LF follows it in the range.
  if (last != kNoPosition)
    count.afterLastBreak = last + 1;
  return count;
}

const BreakValues<char16_t>& UnitBreaks() {
  static const BreakValues<char16_t> breaks = [] {
    BreakValues<char16_t> values;
    values.carriageReturn.Add(u'\r');
    values.lineFeed.Add(u'\n');
    return values;
  }();
  return breaks;
}

}  // namespace

size_t FindPair(const char16_t* text, size_t from, size_t last, const UnitChoice& first,
                size_t offset, const UnitChoice& second) {
  return FindPairAny(text, from, last, first, offset, second);
}

size_t FindPair(const unsigned char* text, size_t from, size_t last, const ByteChoice& first,
                size_t offset, const ByteChoice& second) {
  return FindPairAny(text, from, last, first, offset, second);
}

BreakCount CountBreaks(const char16_t* text, size_t from, size_t to) {
  return CountBreaksAny(text, from, to, UnitBreaks());
}

BreakCount CountBreaks(const unsigned char* text, size_t from, size_t to,
                       const BreakValues<unsigned char>& breaks) {
  return CountBreaksAny(text, from, to, breaks);
}
