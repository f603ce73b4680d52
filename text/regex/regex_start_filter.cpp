#include "text/regex/regex_start_filter.h"

#include <bit>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr size_t kUnitCount = 65536;
// More ranges than this, the zero unit's included, are tested through the bitmap.
constexpr size_t kMaxScannedRanges = 5;

using UnitBits = std::vector<std::uint64_t>;

void SetRange(UnitBits& bits, unsigned low, unsigned high) {
  for (unsigned u = low; u <= high;) {
    if ((u & 63) == 0 && u + 63 <= high) {
      bits[u >> 6] = ~std::uint64_t{0};
      u += 64;
    } else {
      bits[u >> 6] |= std::uint64_t{1} << (u & 63);
      ++u;
    }
  }
}

bool Test(const UnitBits& bits, unsigned u) {
  return (bits[u >> 6] >> (u & 63)) & 1;
}

// Adds the units that the one-unit step at pc accepts; false when it is not a Symbol or InSet.
bool AddStepUnits(const std::vector<RegexInstruction>& code, std::int32_t pc, UnitBits& accepted) {
  const RegexInstruction& in = code[static_cast<size_t>(pc)];
  if (in.type == RegexOp::Symbol) {
    SetRange(accepted, static_cast<char16_t>(in.operand), static_cast<char16_t>(in.operand));
    return true;
  }
  if (in.type != RegexOp::InSet)
    return false;
  for (std::int32_t i = pc + 1; i + 1 < in.operand; i += 2)
    SetRange(accepted, static_cast<char16_t>(code[static_cast<size_t>(i)].operand),
             static_cast<char16_t>(code[static_cast<size_t>(i) + 1].operand));
  return true;
}

// Collects into `accepted` the units that can start a match, following every path from the
// pattern's first instruction that has not consumed a unit yet. False when some path can succeed
// or go on without consuming one, so that no filter applies.
bool CollectStartUnits(const std::vector<RegexInstruction>& code, UnitBits& accepted) {
  std::vector<bool> seen(code.size(), false);
  std::vector<std::int32_t> work{2};
  while (!work.empty()) {
    const std::int32_t pc = work.back();
    work.pop_back();
    if (pc < 0 || static_cast<size_t>(pc) >= code.size())
      return false;
    if (seen[static_cast<size_t>(pc)])
      continue;
    seen[static_cast<size_t>(pc)] = true;
    const RegexInstruction& in = code[static_cast<size_t>(pc)];
    switch (in.type) {
      case RegexOp::Symbol:
      case RegexOp::InSet:
        AddStepUnits(code, pc, accepted);
        break;
      case RegexOp::GreedyUnits:
      case RegexOp::LazyUnits:
        // One unit of the step, or none and on past the loop.
        if (!AddStepUnits(code, pc + 2, accepted))
          return false;
        work.push_back(in.operand);
        break;
      case RegexOp::Jump:
        work.push_back(in.operand);
        break;
      case RegexOp::Call:
        // The callee first; the next instruction when it fails, each restoring the position or
        // failing on (see the emitter's constructs).
        work.push_back(in.operand);
        work.push_back(pc + 1);
        break;
      case RegexOp::Return:
      case RegexOp::Fail:
        break;
      case RegexOp::Nop:
      case RegexOp::GroupStart:
      case RegexOp::GroupEnd:
      case RegexOp::PushPosition:
      case RegexOp::PopPosition:
      case RegexOp::PushMemory:
      case RegexOp::PopMemory:
      case RegexOp::StorePosition:
      case RegexOp::StoreStackHeight:
      case RegexOp::LoadPosition:
      case RegexOp::LoadStackHeight:
      case RegexOp::FailIfNoProgress:
      case RegexOp::PushGroup:
      case RegexOp::PopGroup:
        work.push_back(pc + 1);
        break;
      case RegexOp::EndOfText:
      case RegexOp::Any:
      case RegexOp::GreedyUnitsBack:
      case RegexOp::LazyUnitsBack:
      case RegexOp::NotInSet:
      case RegexOp::BackReference:
      case RegexOp::Advance:
      case RegexOp::Match:
        return false;
    }
  }
  return true;
}

// Scans for the first unit in one of N ranges, 16 units a step where SSE2 is there. With
// kSingle every range is one unit.
template <size_t N, bool kSingle>
size_t ScanRanges(const char16_t* text, size_t from, size_t end, const UnitRange* ranges) {
  size_t i = from;
#if defined(__SSE2__)
  __m128i lows[N], widths[N];
  for (size_t k = 0; k < N; ++k) {
    lows[k] = _mm_set1_epi16(static_cast<short>(ranges[k].low));
    widths[k] = _mm_set1_epi16(static_cast<short>(ranges[k].high - ranges[k].low));
  }
  const __m128i zero = _mm_setzero_si128();
  // Lanes of units that lie in a range are all ones.
  auto hits = [&](const char16_t* at) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    __m128i hit = zero;
    for (size_t k = 0; k < N; ++k) {
      if constexpr (kSingle) {
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(units, lows[k]));
      } else {
        // u lies in [low, low + width] when the saturated (u - low) - width is 0.
        const __m128i above = _mm_subs_epu16(_mm_sub_epi16(units, lows[k]), widths[k]);
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(above, zero));
      }
    }
    return hit;
  };
  for (; i + 16 <= end; i += 16) {
    const __m128i first = hits(text + i);
    const __m128i second = hits(text + i + 8);
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(first)) |
                          static_cast<unsigned>(_mm_movemask_epi8(second)) << 16;
    if (mask)
      return i + static_cast<size_t>(std::countr_zero(mask)) / 2;
  }
  for (; i + 8 <= end; i += 8) {
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits(text + i)));
    if (mask)
      return i + static_cast<size_t>(std::countr_zero(mask)) / 2;
  }
#endif
  for (; i < end; ++i) {
    for (size_t k = 0; k < N; ++k) {
      if (static_cast<char16_t>(text[i] - ranges[k].low) <=
          static_cast<char16_t>(ranges[k].high - ranges[k].low))
        return i;
    }
  }
  return end;
}

template <size_t N>
size_t Scan(const char16_t* text, size_t from, size_t end, const UnitRange* ranges) {
  for (size_t k = 0; k < N; ++k) {
    if (ranges[k].low != ranges[k].high)
      return ScanRanges<N, false>(text, from, end, ranges);
  }
  return ScanRanges<N, true>(text, from, end, ranges);
}

}  // namespace

void ComputeStartFilter(RegexProgram& program) {
  program.hasStartFilter = false;
  program.startRanges.clear();
  program.startBitmap.clear();
  const std::vector<RegexInstruction>& code = program.instructions;
  // An anchored program makes one attempt only.
  if (code.size() < 3 || code[1].type != RegexOp::Advance)
    return;
  UnitBits accepted(kUnitCount / 64, 0);
  if (!CollectStartUnits(code, accepted))
    return;

  // The matcher compares folded text units; the filter looks at the text as it is, where A-Z
  // stand for a-z.
  UnitBits raw = accepted;
  if (!program.caseSensitive) {
    for (unsigned u = u'A'; u <= u'Z'; ++u) {
      const std::uint64_t bit = std::uint64_t{1} << (u & 63);
      raw[u >> 6] = Test(accepted, u + 32) ? raw[u >> 6] | bit : raw[u >> 6] & ~bit;
    }
  }
  // The scan also stops at the end of the text.
  raw[0] |= 1;
  std::vector<UnitRange> ranges;
  for (unsigned u = 0; u < kUnitCount;) {
    if (raw[u >> 6] == 0 && (u & 63) == 0) {
      u += 64;
      continue;
    }
    if (!Test(raw, u)) {
      ++u;
      continue;
    }
    unsigned high = u;
    while (high + 1 < kUnitCount && Test(raw, high + 1))
      ++high;
    ranges.push_back({static_cast<char16_t>(u), static_cast<char16_t>(high)});
    u = high + 1;
  }
  program.hasStartFilter = true;
  if (ranges.size() <= kMaxScannedRanges)
    program.startRanges = std::move(ranges);
  else
    program.startBitmap = std::move(raw);
}

size_t FindStartCandidate(const RegexProgram& program, const char16_t* text, size_t from,
                          size_t limit) {
  if (!program.startBitmap.empty()) {
    const std::uint64_t* bits = program.startBitmap.data();
    for (size_t i = from; i < limit; ++i) {
      const unsigned u = text[i];
      if ((bits[u >> 6] >> (u & 63)) & 1)
        return i;
    }
    return limit;
  }
  const UnitRange* ranges = program.startRanges.data();
  switch (program.startRanges.size()) {
    case 1:
      return Scan<1>(text, from, limit, ranges);
    case 2:
      return Scan<2>(text, from, limit, ranges);
    case 3:
      return Scan<3>(text, from, limit, ranges);
    case 4:
      return Scan<4>(text, from, limit, ranges);
    default:
      return Scan<5>(text, from, limit, ranges);
  }
}
