// Finding a plain find text in a text of UTF-16 units or in the bytes of a one-to-one
// single-byte code page: the case rules, CR LF pairs as one token, the candidate search and the
// line and character counting of each match. The scan (plain_scan.cpp) builds on it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/lower_case.h"
#include "processing/byte_table.h"
#include "processing/search/exact_byte_search.h"
#include "processing/search/unit_search.h"
#include "run/record/file_result.h"

// The find text is tried at every token of the text in turn (a token is one unit, or a CR LF
// pair), which gives the matches of a unit-by-unit scan that retries a failed candidate from its
// second unit. Candidates are looked for with a vector search for the units the first find unit
// can match and, where the find text allows, a second one at a fixed distance; line breaks are
// counted only when a match needs its position.
namespace plain_match {

inline constexpr char16_t kCarriageReturn = u'\r';
inline constexpr char16_t kLineFeed = u'\n';

inline bool IsBreak(char16_t unit) {
  return unit == kCarriageReturn || unit == kLineFeed;
}

// Whether units match, by the case rule of the search.
class UnitMatcher {
 public:
  explicit UnitMatcher(bool caseSensitive)
      : caseSensitive_(caseSensitive), lower_(platform::LowerCaseTable()) {}

  bool caseSensitive() const { return caseSensitive_; }

  // Whether a text unit (for a CR LF pair: its CR) matches a find unit.
  bool Matches(char16_t unit, char16_t findUnit) const {
    return unit == findUnit || (findUnit == kLineFeed && IsBreak(unit)) ||
           (!caseSensitive_ && lower_[unit] == lower_[findUnit]);
  }

  // The units that match a find unit; false when there are more than a choice holds.
  bool Choice(char16_t findUnit, UnitChoice& choice) const;

 private:
  bool caseSensitive_;
  const char16_t* lower_;
};

// Where candidates are looked for: the units the first find unit matches and, when the find
// text allows, the units of a second find unit at a fixed distance from it.
struct CandidateFilter {
  bool usable = false;
  UnitChoice first;
  size_t offset = 0;
  UnitChoice second;
  bool firstMayBeLineFeed = false;
};

// The filter of a find text; unusable when its first unit matches more units than a choice holds.
CandidateFilter MakeFilter(const UnitMatcher& matcher, std::u16string_view find);

// A text as UTF-16 units.
class UnitSource {
 public:
  UnitSource(const char16_t* units, size_t length) : units_(units), length_(length) {}

  size_t length() const { return length_; }
  char16_t operator[](size_t i) const { return units_[i]; }
  size_t FindCandidate(const CandidateFilter& filter, size_t from, size_t last) const {
    return FindPair(units_, from, last, filter.first, filter.offset, filter.second);
  }
  BreakCount Breaks(size_t from, size_t to) const { return CountBreaks(units_, from, to); }

 private:
  const char16_t* units_;
  size_t length_;
};

// A text as the bytes of a one-to-one single-byte code page: every byte is one unit.
class ByteSource {
 public:
  ByteSource(std::span<const unsigned char> bytes, const ByteTable& table,
             const CandidateFilter& filter);

  size_t length() const { return length_; }
  char16_t operator[](size_t i) const { return table_[bytes_[i]]; }
  size_t FindCandidate(const CandidateFilter& filter, size_t from, size_t last) const {
    return FindPair(bytes_, from, last, first_, filter.offset, second_);
  }
  BreakCount Breaks(size_t from, size_t to) const { return CountBreaks(bytes_, from, to, breaks_); }
  const BreakValues<unsigned char>& breaks() const { return breaks_; }

 private:
  // The bytes of the units a search looks for, and of CR and LF, in one table.
  struct ByteChoices {
    bool known = false;
    ByteTable table{};
    UnitChoice first;
    UnitChoice second;
    ByteChoice firstBytes;
    ByteChoice secondBytes;
    BreakValues<unsigned char> breaks;
  };

  static bool SameChoice(const UnitChoice& a, const UnitChoice& b) {
    return a.count == b.count && std::equal(a.values, a.values + a.count, b.values);
  }

  const unsigned char* bytes_;
  size_t length_;
  const ByteTable& table_;
  // In the tables a file is searched with (ByteTableFor) a unit that a find text may hold stands
  // for one byte at most, so each choice of units gives as many bytes or fewer.
  ByteChoice first_;
  ByteChoice second_;
  BreakValues<unsigned char> breaks_;
};

template <class Source>
size_t NextToken(const Source& text, size_t s) {
  return text[s] == kCarriageReturn && s + 1 < text.length() && text[s + 1] == kLineFeed ? s + 2
                                                                                         : s + 1;
}

// Finds matches token by token.
class MatchFinder {
 public:
  MatchFinder(std::u16string_view find, bool caseSensitive)
      : find_(find),
        matcher_(caseSensitive),
        filter_(MakeFilter(matcher_, find)),
        breakFree_(std::none_of(find.begin(), find.end(), IsBreak)) {}

  const CandidateFilter& filter() const { return filter_; }
  std::u16string_view find() const { return find_; }
  bool caseSensitive() const { return matcher_.caseSensitive(); }
  const UnitMatcher& matcher() const { return matcher_; }
  // Whether a match holds no line break: then it is as many units long as the find text.
  bool breakFree() const { return breakFree_; }

  // The first match at a token from searchFrom on, before `until`: its first unit s and its
  // last unit. Reading restarted at countFrom (at or before searchFrom), so an LF there starts a
  // token whatever stands before it.
  template <class Source>
  bool Next(const Source& text, size_t countFrom, size_t searchFrom, size_t until, size_t& s,
            size_t& last) const {
    const size_t findLength = find_.size();
    const size_t length = text.length();
    if (length < findLength || until == 0)
      return false;
    const size_t lastStart = std::min(length - findLength, until - 1);
    for (;;) {
      if (searchFrom > lastStart)
        return false;
      if (filter_.usable) {
        s = text.FindCandidate(filter_, searchFrom, lastStart);
      } else {
        s = searchFrom;
        while (s <= lastStart && !matcher_.Matches(text[s], find_[0]))
          ++s;
      }
      if (s == kNoPosition || s > lastStart)
        return false;
      // The LF of a CR LF pair starts no token; its CR was a candidate already.
      if (filter_.firstMayBeLineFeed && text[s] == kLineFeed && s > countFrom &&
          text[s - 1] == kCarriageReturn) {
        searchFrom = s + 1;
        continue;
      }
      if (MatchAt(text, s, last))
        return true;
      searchFrom = NextToken(text, s);
    }
  }

 private:
  template <class Source>
  bool MatchAt(const Source& text, size_t s, size_t& last) const {
    const size_t length = text.length();
    size_t i = s;
    for (size_t k = 0;; ++i) {
      if (i >= length)
        return false;
      const char16_t unit = text[i];
      if (!matcher_.Matches(unit, find_[k]))
        return false;
      if (unit == kCarriageReturn && i + 1 < length && text[i + 1] == kLineFeed)
        ++i;
      if (++k == find_.size()) {
        last = i;
        return true;
      }
    }
  }

  std::u16string_view find_;
  UnitMatcher matcher_;
  CandidateFilter filter_;
  bool breakFree_;
};

// Whether only equal bytes can match the find text in text of this table: it holds no line
// break, each of its units stands for exactly one byte, and CR and LF have a byte each at most;
// then `pattern` receives its bytes.
bool ExactPattern(const MatchFinder& finder, const ByteTable& table,
                  const BreakValues<unsigned char>& breaks, std::vector<unsigned char>& pattern);

// Line breaks and units since the last of them, as the text is read.
struct Counters {
  std::int64_t line = 0;
  std::int64_t character = 0;

  template <class Source>
  void Advance(const Source& text, size_t from, size_t to) {
    const BreakCount count = text.Breaks(from, to);
    line += count.breaks;
    if (count.afterLastBreak == kNoPosition)
      character += static_cast<std::int64_t>(to - from);
    else
      character = static_cast<std::int64_t>(to - count.afterLastBreak);
  }
};

// Matches found token by token, the counters following the reading.
template <class Source>
class TokenMatches {
 public:
  TokenMatches(const Source& text, const MatchFinder& finder) : text_(text), finder_(finder) {}

  // The first match from searchFrom on that starts before `until`, and its position.
  bool Next(size_t searchFrom, size_t until, size_t& s, size_t& last,
            CFileResult::replace_info& position) {
    if (!finder_.Next(text_, countFrom_, searchFrom, until, s, last))
      return false;
    counters_.Advance(text_, countFrom_, s);
    countFrom_ = s;
    position = {counters_.line, counters_.character};
    return true;
  }
  // Where the search goes on after a match that was declined.
  size_t Skip(size_t s) const { return NextToken(text_, s); }
  // Where it goes on after a match that was taken; reading restarts there.
  size_t Take(size_t s, size_t last) {
    if (finder_.breakFree())
      counters_.character += static_cast<std::int64_t>(last + 1 - s);
    else
      counters_.Advance(text_, s, last + 1);
    countFrom_ = last + 1;
    return countFrom_;
  }

 private:
  const Source& text_;
  const MatchFinder& finder_;
  // Reading restarts at countFrom after a change; the counters stand as the text was read up to
  // it.
  size_t countFrom_ = 0;
  Counters counters_;
};

// Matches that only equal bytes make, found with their positions in one pass.
class ExactMatches {
 public:
  ExactMatches(std::span<const unsigned char> bytes, std::span<const unsigned char> pattern,
               const BreakValues<unsigned char>& breaks)
      : search_(bytes, pattern, OnlyValue(breaks.carriageReturn), OnlyValue(breaks.lineFeed)) {}

  bool Next(size_t searchFrom, size_t until, size_t& s, size_t& last,
            CFileResult::replace_info& position) {
    return search_.Next(searchFrom, until, s, last, position.line, position.character);
  }
  // A match starts at no CR, so every unit is a token.
  size_t Skip(size_t s) const { return s + 1; }
  size_t Take(size_t, size_t last) const { return last + 1; }

  static int OnlyValue(const ByteChoice& choice) {
    return choice.count == 0 ? -1 : choice.values[0];
  }

 private:
  ExactByteSearch search_;
};

}  // namespace plain_match
