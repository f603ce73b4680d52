// Vectors of 32 bytes, used where the processor has them (checked at run time); not on Windows,
// whose 64-bit ABI does not keep the stack aligned for them.
#pragma once

#if defined(__SSE2__) && defined(__x86_64__) && !defined(_WIN32) && defined(__GNUC__)
#define VOXALON_WIDE_VECTORS
#include <immintrin.h>

#include <cstdint>

#define VOXALON_WIDE __attribute__((target("avx2")))

inline bool WideVectors() {
  static const bool available = __builtin_cpu_supports("avx2");
  return available;
}

VOXALON_WIDE inline __m256i LoadWide(const unsigned char* at) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

// The lanes that end a line break: LF, and CR where the next byte (in `next`) is no LF.
VOXALON_WIDE inline __m256i WideBreakEnds(__m256i here, __m256i next, __m256i cr, __m256i lf) {
  return _mm256_or_si256(
      _mm256_cmpeq_epi8(here, lf),
      _mm256_andnot_si256(_mm256_cmpeq_epi8(next, lf), _mm256_cmpeq_epi8(here, cr)));
}

// Adds the byte counts of every lane to `breaks`.
VOXALON_WIDE inline void AddWideCounts(__m256i counts, std::int64_t& breaks) {
  const __m256i sums = _mm256_sad_epu8(counts, _mm256_setzero_si256());
  breaks += _mm256_extract_epi64(sums, 0) + _mm256_extract_epi64(sums, 1) +
            _mm256_extract_epi64(sums, 2) + _mm256_extract_epi64(sums, 3);
}

// Ends a round that adds two at most to each byte count: the counts are added up and emptied
// after 127 of them, before one can overflow.
VOXALON_WIDE inline void EndWideRound(__m256i& counts, int& rounds, std::int64_t& breaks) {
  if (++rounds == 127) {
    AddWideCounts(counts, breaks);
    counts = _mm256_setzero_si256();
    rounds = 0;
  }
}
#endif
