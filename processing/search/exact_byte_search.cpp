#include "processing/search/exact_byte_search.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "processing/search/unit_search.h"

#include "processing/search/wide_vectors.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr size_t kBlock = 64;

struct BlockMasks {
  std::uint64_t candidates = 0;
  std::uint64_t breakEnds = 0;
};

// Bit i of candidates: text[at + i] is `first` and text[at + i + offset] is `second`; of
// breakEnds: text[at + i] is LF, or CR without LF after it. Bits beyond the text are clear.
BlockMasks ScalarMasks(const unsigned char* text, size_t length, size_t at, unsigned char first,
                       size_t offset, unsigned char second, unsigned char cr, unsigned char lf) {
  BlockMasks masks;
  for (size_t i = 0; i < kBlock && at + i < length; ++i) {
    const size_t p = at + i;
    const unsigned char unit = text[p];
    if (unit == first && p + offset < length && text[p + offset] == second)
      masks.candidates |= std::uint64_t{1} << i;
    if (unit == lf || (unit == cr && !(p + 1 < length && text[p + 1] == lf)))
      masks.breakEnds |= std::uint64_t{1} << i;
  }
  return masks;
}

#if defined(__SSE2__)
// The values compared with, spread over all lanes.
struct Splats {
  explicit Splats(const unsigned char (&lanes)[4][16])
      : first(Load(lanes[0])), second(Load(lanes[1])), cr(Load(lanes[2])), lf(Load(lanes[3])) {}
  static __m128i Load(const unsigned char* lanes) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes));
  }
  __m128i first;
  __m128i second;
  __m128i cr;
  __m128i lf;
};

// The same for a block whose every byte, and the bytes `offset` and 1 after, are in the text.
inline BlockMasks VectorMasks(const unsigned char* text, size_t at, size_t offset,
                              const Splats& values) {
  auto load = [text](size_t from) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + from));
  };
  BlockMasks masks;
  for (size_t k = 0; k < kBlock / 16; ++k) {
    const size_t q = at + 16 * k;
    const __m128i here = load(q);
    const __m128i candidate = _mm_and_si128(_mm_cmpeq_epi8(here, values.first),
                                            _mm_cmpeq_epi8(load(q + offset), values.second));
    const __m128i lfHere = _mm_cmpeq_epi8(here, values.lf);
    const __m128i lfNext = _mm_cmpeq_epi8(load(q + 1), values.lf);
    const __m128i crHere = _mm_cmpeq_epi8(here, values.cr);
    const __m128i ends = _mm_or_si128(lfHere, _mm_andnot_si128(lfNext, crHere));
    masks.candidates |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(candidate))}
                        << (16 * k);
    masks.breakEnds |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(ends))} << (16 * k);
  }
  return masks;
}
#endif

#if defined(__SSE2__)
// Blocks without a candidate, the most of them where matches are rare, only have their breaks
// counted: lane by lane in bytes, summed before a lane can overflow, each block's counted while
// its candidates are looked for and taken back when it has one. Where the last break stood is
// looked for only when a match needs it. Returns the first block from `start` on with a
// candidate, or the first at or after `stop`.
size_t SkipBlocks(const unsigned char* text, size_t start, size_t stop, size_t offset,
                  const Splats& values, std::int64_t& breaks) {
  const __m128i zero = _mm_setzero_si128();
  __m128i counts = zero;
  int blocksCounted = 0;
  auto addCounts = [&] {
    const __m128i sums = _mm_sad_epu8(counts, zero);
    breaks += _mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums));
    counts = zero;
    blocksCounted = 0;
  };
  auto load = [text](size_t from) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + from));
  };
  for (; start < stop; start += kBlock) {
    const __m128i before = counts;
    __m128i any = zero;
    for (size_t q = start; q < start + kBlock; q += 16) {
      const __m128i here = load(q);
      any = _mm_or_si128(any, _mm_and_si128(_mm_cmpeq_epi8(here, values.first),
                                            _mm_cmpeq_epi8(load(q + offset), values.second)));
      const __m128i lfNext = _mm_cmpeq_epi8(load(q + 1), values.lf);
      const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(here, values.lf),
                                        _mm_andnot_si128(lfNext, _mm_cmpeq_epi8(here, values.cr)));
      counts = _mm_sub_epi8(counts, ends);
    }
    if (_mm_movemask_epi8(any) != 0) {
      counts = before;
      break;
    }
    // Four counts a block per lane: 63 blocks fill a byte at most.
    if (++blocksCounted == 63)
      addCounts();
  }
  addCounts();
  return start;
}

#if defined(VOXALON_WIDE_VECTORS)
// SkipBlocks with vectors of 32 bytes, where the processor has them.
VOXALON_WIDE size_t SkipBlocksWide(const unsigned char* text, size_t start, size_t stop,
                                   size_t offset, const unsigned char (&splats)[4][16],
                                   std::int64_t& breaks) {
  const __m256i first = _mm256_set1_epi8(static_cast<char>(splats[0][0]));
  const __m256i second = _mm256_set1_epi8(static_cast<char>(splats[1][0]));
  const __m256i cr = _mm256_set1_epi8(static_cast<char>(splats[2][0]));
  const __m256i lf = _mm256_set1_epi8(static_cast<char>(splats[3][0]));
  __m256i counts = _mm256_setzero_si256();
  int blocksCounted = 0;
  for (; start < stop; start += kBlock) {
    const __m256i before = counts;
    __m256i any = _mm256_setzero_si256();
    for (size_t q = start; q < start + kBlock; q += 32) {
      const __m256i here = LoadWide(text + q);
      any = _mm256_or_si256(
          any, _mm256_and_si256(_mm256_cmpeq_epi8(here, first),
                                _mm256_cmpeq_epi8(LoadWide(text + q + offset), second)));
      counts = _mm256_sub_epi8(counts, WideBreakEnds(here, LoadWide(text + q + 1), cr, lf));
    }
    if (_mm256_movemask_epi8(any) != 0) {
      counts = before;
      break;
    }
    EndWideRound(counts, blocksCounted, breaks);
  }
  AddWideCounts(counts, breaks);
  return start;
}
#endif
#endif

}  // namespace

ExactByteSearch::ExactByteSearch(std::span<const unsigned char> text,
                                 std::span<const unsigned char> pattern, int cr, int lf)
    : text_(text.data()),
      length_(text.size()),
      pattern_(pattern),
      cr_(static_cast<unsigned char>(cr >= 0 ? cr : lf)),
      lf_(static_cast<unsigned char>(lf >= 0 ? lf : cr)) {
  const unsigned char values[4] = {
      static_cast<unsigned char>(pattern.empty() ? 0 : pattern.front()),
      static_cast<unsigned char>(pattern.empty() ? 0 : pattern.back()), cr_, lf_};
  for (int i = 0; i < 4; ++i)
    std::memset(splats_[i], values[i], sizeof splats_[i]);
}

void ExactByteSearch::Load(size_t start) {
  start_ = start;
  loaded_ = true;
  const BlockMasks masks = ScalarMasks(text_, length_, start, pattern_.front(), pattern_.size() - 1,
                                       pattern_.back(), cr_, lf_);
  candidates_ = masks.candidates;
  breakEnds_ = masks.breakEnds;
}

void ExactByteSearch::MoveToCandidates(size_t until) {
  CountBreaks(breakEnds_);
  size_t start = start_ + kBlock;
#if defined(__SSE2__)
  const size_t offset = pattern_.size() - 1;
  // Blocks that start before `stop` can be read whole, with the bytes `offset` and 1 after.
  const size_t reach = kBlock + (offset > 1 ? offset : 1);
  const size_t stop = length_ > reach ? length_ - reach : 0;
  const size_t skipTo = std::min(stop, std::max(start, until));
  const Splats values(splats_);
  // The next block first in full: where matches are many, it holds one.
  if (start < stop) {
    const BlockMasks masks = VectorMasks(text_, start, offset, values);
    start_ = start;
    candidates_ = masks.candidates;
    breakEnds_ = masks.breakEnds;
    if (candidates_ != 0)
      return;
    CountBreaks(breakEnds_);
    start += kBlock;
  }
  const size_t skippedFrom = start;
#if defined(VOXALON_WIDE_VECTORS)
  if (WideVectors())
    start = SkipBlocksWide(text_, start, skipTo, offset, splats_, breaksBefore_);
  else
#endif
    start = SkipBlocks(text_, start, skipTo, offset, values, breaksBefore_);
  if (start != skippedFrom && bulkFrom_ == kNone)
    bulkFrom_ = skippedFrom;
  if (start < stop) {
    const BlockMasks masks = VectorMasks(text_, start, offset, values);
    start_ = start;
    candidates_ = masks.candidates;
    breakEnds_ = masks.breakEnds;
    return;
  }
#endif
  Load(start);
}

// The index after the last break end before `at`, looked for backwards where blocks were
// counted without noting it.
size_t ExactByteSearch::LineStart(size_t at) {
  if (bulkFrom_ != kNone) {
    for (size_t p = at; p > bulkFrom_; --p) {
      const unsigned char unit = text_[p - 1];
      if (unit == lf_ || (unit == cr_ && text_[p] != lf_)) {
        lineStart_ = p;
        break;
      }
    }
    bulkFrom_ = kNone;
  }
  return lineStart_;
}

// Break ends are taken one by one, lowest first: between two matches there are few.
void ExactByteSearch::CountBreaks(std::uint64_t ends) {
  breakEnds_ &= ~ends;
  if (ends != 0)
    bulkFrom_ = kNone;
  for (; ends != 0; ends &= ends - 1) {
    ++breaksBefore_;
    lineStart_ = start_ + static_cast<size_t>(std::countr_zero(ends)) + 1;
  }
}

bool ExactByteSearch::Next(size_t from, size_t until, size_t& first, size_t& last,
                           std::int64_t& line, std::int64_t& character) {
  const size_t size = pattern_.size();
  if (size == 0 || length_ < size || until == 0)
    return false;
  const size_t lastStart = std::min(length_ - size, until - 1);
  if (from > lastStart)
    return false;
  if (!loaded_)
    Load(0);
  while (start_ + kBlock <= from)
    MoveToCandidates(from);
  for (;;) {
    std::uint64_t candidates = candidates_;
    if (from > start_)
      candidates &= ~std::uint64_t{0} << (from - start_);
    for (; candidates != 0; candidates &= candidates - 1) {
      const auto bit = static_cast<size_t>(std::countr_zero(candidates));
      const size_t at = start_ + bit;
      if (at > lastStart)
        return false;
      // The first and last byte are equal already.
      size_t k = 1;
      while (k + 1 < size && text_[at + k] == pattern_[k])
        ++k;
      if (k + 1 < size)
        continue;
      CountBreaks(breakEnds_ & ((std::uint64_t{1} << bit) - 1));
      first = at;
      last = at + size - 1;
      line = breaksBefore_;
      character = static_cast<std::int64_t>(at - LineStart(at));
      return true;
    }
    if (start_ + kBlock > lastStart)
      return false;
    MoveToCandidates(until);
  }
}
