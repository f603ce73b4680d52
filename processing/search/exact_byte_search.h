// The search for a byte string in a text of one byte per unit, for a find text that only equal
// bytes can match: it holds no line break and each of its units stands for exactly one byte.
// Candidates and line breaks are found 64 bytes at a time in one pass, so that a match's
// position costs no second reading of the text before it, however many matches there are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

class ExactByteSearch {
 public:
  // cr / lf: the bytes of CR and LF, or -1 where the text has none; one of them at least is
  // given (Usable).
  ExactByteSearch(std::span<const unsigned char> text, std::span<const unsigned char> pattern,
                  int cr, int lf);
  static bool Usable(std::span<const unsigned char> pattern, int cr, int lf) {
    return !pattern.empty() && (cr >= 0 || lf >= 0);
  }

  // The first match that starts at or after `from` and before `until` (from never goes back
  // between calls): its first and last index, the line breaks before it (CR, LF, or a CR LF pair
  // as one) and the units since the last of them.
  bool Next(size_t from, size_t until, size_t& first, size_t& last, std::int64_t& line,
            std::int64_t& character);

 private:
  // The masks of the block at `start`.
  void Load(size_t start);
  // Counts the breaks of the block, then moves to the next block with a candidate (counting the
  // breaks of those passed) or, failing that, to the last one or the first from `until` on.
  void MoveToCandidates(size_t until);
  // Counts the break ends of the block that the mask gives, which are then counted no more.
  void CountBreaks(std::uint64_t ends);
  size_t LineStart(size_t at);

  static constexpr size_t kNone = static_cast<size_t>(-1);

  const unsigned char* text_;
  size_t length_;
  std::span<const unsigned char> pattern_;
  // A text without LF counts every CR, one without CR every LF: the missing byte is given the
  // other's value, which gives the same break ends.
  unsigned char cr_;
  unsigned char lf_;
  // The first and last byte of the pattern, CR and LF, each in every lane of a vector.
  unsigned char splats_[4][16];
  // The block of 64 bytes read last: bit i stands for index start_ + i.
  size_t start_ = 0;
  bool loaded_ = false;
  std::uint64_t candidates_ = 0;
  std::uint64_t breakEnds_ = 0;  // those not counted yet
  // Break ends counted, and the index after the last of them; from bulkFrom_ on (unless kNone)
  // breaks were counted without noting where they stood.
  std::int64_t breaksBefore_ = 0;
  size_t lineStart_ = 0;
  size_t bulkFrom_ = kNone;
};
