#include "processing/search/plain_scan.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <string>
#include <type_traits>

#include "platform/lower_case.h"
#include "processing/change_lines.h"
#include "processing/search/exact_byte_search.h"
#include "processing/search/growing_block.h"
#include "processing/search/unit_search.h"

// The scan tries the find text at every token of the text in turn (a token is one unit, or a
// CR LF pair), which gives the matches of a unit-by-unit scan that retries a failed candidate
// from its second unit. Candidates are looked for with a vector search for the units the first
// find unit can match and, where the find text allows, a second one at a fixed distance; line
// breaks are counted only when a match needs its position. Changes build a new text in one
// pass, so that many of them cost no more than a few.

namespace {

constexpr char16_t kCarriageReturn = u'\r';
constexpr char16_t kLineFeed = u'\n';

bool IsBreak(char16_t unit) {
  return unit == kCarriageReturn || unit == kLineFeed;
}

// The units that share one lower case, grouped by it: the inverse of the lower-case table.
class CaseClasses {
 public:
  CaseClasses() : start_(0x10001, 0), members_(0x10000) {
    const char16_t* lower = platform::LowerCaseTable();
    for (unsigned unit = 0; unit < 0x10000; ++unit)
      ++start_[lower[unit] + 1u];
    for (unsigned i = 1; i < start_.size(); ++i)
      start_[i] += start_[i - 1];
    std::vector<std::uint32_t> next(start_.begin(), start_.end() - 1);
    for (unsigned unit = 0; unit < 0x10000; ++unit)
      members_[next[lower[unit]]++] = static_cast<char16_t>(unit);
  }

  // Every unit whose lower case is `lower`.
  const char16_t* begin(char16_t lower) const { return members_.data() + start_[lower]; }
  const char16_t* end(char16_t lower) const { return members_.data() + start_[lower + 1u]; }

 private:
  std::vector<std::uint32_t> start_;
  std::vector<char16_t> members_;
};

// Built on first use; null when memory for it runs out (the scan then goes without it).
const CaseClasses* Classes() {
  try {
    static const CaseClasses classes;
    return &classes;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

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
  bool Choice(char16_t findUnit, UnitChoice& choice) const {
    choice = UnitChoice();
    if (!choice.Add(findUnit))
      return false;
    if (findUnit == kLineFeed && !(choice.Add(kCarriageReturn)))
      return false;
    if (!caseSensitive_) {
      const CaseClasses* classes = Classes();
      if (!classes)
        return false;
      const char16_t lower = lower_[findUnit];
      for (const char16_t* unit = classes->begin(lower); unit != classes->end(lower); ++unit) {
        if (!choice.Add(*unit))
          return false;
      }
    }
    return true;
  }

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

CandidateFilter MakeFilter(const UnitMatcher& matcher, std::u16string_view find) {
  CandidateFilter filter;
  if (!matcher.Choice(find[0], filter.first))
    return filter;
  filter.second = filter.first;
  filter.firstMayBeLineFeed = filter.first.Contains(kLineFeed);
  // The units before the second one must each be one unit long in the text, which holds while
  // none of them may be the CR of a pair. The farthest such unit filters best.
  bool singleUnits = !filter.first.Contains(kCarriageReturn);
  for (size_t j = 1; singleUnits && j < find.size(); ++j) {
    UnitChoice choice;
    if (!matcher.Choice(find[j], choice))
      break;
    filter.offset = j;
    filter.second = choice;
    singleUnits = !choice.Contains(kCarriageReturn);
  }
  filter.usable = true;
  return filter;
}

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
             const CandidateFilter& filter)
      : bytes_(bytes.data()), length_(bytes.size()), table_(table) {
    // A run searches file after file with the same table and find text: the bytes are worked
    // out again only when either differs from the last file's.
    thread_local ByteChoices last;
    if (!last.known || last.table != table || !SameChoice(last.first, filter.first) ||
        !SameChoice(last.second, filter.second)) {
      last = ByteChoices();
      last.table = table;
      last.first = filter.first;
      last.second = filter.second;
      for (unsigned byte = 0; byte < 256; ++byte) {
        const char16_t unit = table[byte];
        const auto value = static_cast<unsigned char>(byte);
        if (filter.first.Contains(unit))
          last.firstBytes.Add(value);
        if (filter.second.Contains(unit))
          last.secondBytes.Add(value);
        if (unit == kCarriageReturn)
          last.breaks.carriageReturn.Add(value);
        if (unit == kLineFeed)
          last.breaks.lineFeed.Add(value);
      }
      last.known = true;
    }
    first_ = last.firstBytes;
    second_ = last.secondBytes;
    breaks_ = last.breaks;
  }

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

// The bytes of the find text when only equal bytes can match it in text of this table: it holds
// no line break, each of its units stands for exactly one byte, and CR and LF have a byte each
// at most. Null otherwise. Worked out again only when the table or the find text changes.
// The answer is kept per thread as plain data (nothing to destroy when the thread ends), for
// find texts of up to kKnownLength units; longer ones are worked out for every file.
constexpr size_t kKnownLength = 128;

struct ExactPatternAnswer {
  bool valid = false;
  bool exact = false;
  bool caseSensitive = false;
  ByteTable table{};
  size_t length = 0;
  char16_t find[kKnownLength] = {};
  unsigned char pattern[kKnownLength] = {};
};

bool WorkOutExactPattern(const MatchFinder& finder, const ByteTable& table,
                         std::vector<unsigned char>& pattern) {
  pattern.clear();
  for (const char16_t unit : finder.find()) {
    int byteCount = 0;
    for (unsigned byte = 0; byte < 256 && byteCount < 2; ++byte) {
      if (finder.matcher().Matches(table[byte], unit) && byteCount++ == 0)
        pattern.push_back(static_cast<unsigned char>(byte));
    }
    if (byteCount != 1)
      return false;
  }
  return true;
}

// Whether only equal bytes can match the find text in text of this table: it holds no line
// break, each of its units stands for exactly one byte, and CR and LF have a byte each at most;
// then `pattern` receives its bytes.
bool ExactPattern(const MatchFinder& finder, const ByteTable& table,
                  const BreakValues<unsigned char>& breaks, std::vector<unsigned char>& pattern) {
  if (!finder.breakFree() || breaks.carriageReturn.count > 1 || breaks.lineFeed.count > 1)
    return false;
  const std::u16string_view find = finder.find();
  if (find.size() > kKnownLength)
    return WorkOutExactPattern(finder, table, pattern);
  static_assert(std::is_trivially_destructible_v<ExactPatternAnswer>);
  thread_local ExactPatternAnswer known;
  if (!known.valid || known.caseSensitive != finder.caseSensitive() ||
      std::u16string_view(known.find, known.length) != find || known.table != table) {
    known.valid = false;
    known.exact = WorkOutExactPattern(finder, table, pattern);
    known.caseSensitive = finder.caseSensitive();
    known.table = table;
    known.length = find.size();
    std::copy(find.begin(), find.end(), known.find);
    std::copy(pattern.begin(), pattern.end(), known.pattern);
    known.valid = true;
    return known.exact;
  }
  pattern.assign(known.pattern, known.pattern + (known.exact ? known.length : 0));
  return known.exact;
}

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

// Adds a match. A list that fills up early in a long text is given room for as many matches as
// the rest of the text holds at the same rate, rather than being copied at every doubling.
bool Record(std::vector<CFileResult::replace_info>& matches,
            const CFileResult::replace_info& position, size_t at, size_t length) {
  constexpr size_t kEstimateFrom = 4096;
  try {
    if (matches.size() == matches.capacity() && matches.size() >= kEstimateFrom && at > 0) {
      const double rate = static_cast<double>(matches.size()) / static_cast<double>(at);
      const double expected = rate * static_cast<double>(length) * 1.1 + 16;
      if (expected > static_cast<double>(matches.size()) * 2 &&
          expected < static_cast<double>(matches.max_size()))
        matches.reserve(static_cast<size_t>(expected));
    }
    matches.push_back(position);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// What one scan does and where its changes go.
template <class T>
struct ScanJob {
  ActionType action = ActionType::FindOnly;
  std::basic_string_view<T> replace;
  const MatchConsent* consent = nullptr;  // asked unless the action is FindOnly
  const ByteTable* table = nullptr;       // the units of bytes, for describing a change
  std::vector<CFileResult::replace_info>* matches = nullptr;
  size_t limit = static_cast<size_t>(-1);
  // The changed text, built from the unchanged parts and the replacements; begun only with the
  // first change.
  GrowingBlock<T>* output = nullptr;
  bool changed = false;
  // Tested once every kStopStride units of text passed.
  const platform::StopEvent* stop = nullptr;
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

template <class T>
char16_t UnitOf(T value, const ByteTable* table) {
  if constexpr (sizeof(T) == 1)
    return (*table)[value];
  else
    return value;
}

// The lines of the change a consent is asked for at the match [s, last] of the text as given;
// the text as it stands is the output so far followed by the text from `copied` on.
template <class T>
ChangeLines DescribeChange(const ScanJob<T>& job, const T* values, size_t length, size_t copied,
                           size_t s, size_t last) {
  const T* head = job.output ? job.output->data() : nullptr;
  const size_t headLength = head ? job.output->size() : 0;
  const size_t total = headLength + (length - copied);
  auto unit = [&](size_t i) {
    return UnitOf(i < headLength ? head[i] : values[copied + i - headLength], job.table);
  };
  std::u16string replace;
  for (const T value : job.replace)
    replace += UnitOf(value, job.table);
  size_t matchStart = headLength + (s - copied);
  size_t matchEnd = headLength + (last + 1 - copied);
  const TextEdit edit = EditOfAction(job.action, matchStart, matchEnd, total, replace);
  // The text around the edit, and around the match when the two are near.
  size_t low = edit.start;
  size_t high = edit.start + edit.removed;
  const bool near = matchStart <= high + kChangeLinesReach && matchEnd + kChangeLinesReach >= low;
  if (near) {
    low = std::min(low, matchStart);
    high = std::max(high, matchEnd);
  }
  const size_t from = low > kChangeLinesReach ? low - kChangeLinesReach : 0;
  const size_t to = std::min(total, high + kChangeLinesReach);
  std::u16string window;
  for (size_t i = from; i < to; ++i)
    window += unit(i);
  if (near) {
    matchStart -= from;
    matchEnd -= from;
  } else {
    matchStart = matchEnd = window.size() + 1;
  }
  const TextEdit shifted{edit.start - from, edit.removed, edit.inserted};
  return LinesOfChange(window, matchStart, matchEnd, shifted);
}

// Units of text between two tests of the stop request.
constexpr size_t kStopStride = size_t{1} << 18;

// Scans the text as given; every position and index refers to it. A change copies the text up
// to it into the output and adds the replacement, and reading goes on after the match: the
// result is the same as changing the text in place and going on after the inserted text.
template <class Matches, class T>
platform::ErrorCode Scan(Matches& found, const T* values, size_t length, ScanJob<T>& job) {
  // Candidates are looked for from searchFrom.
  size_t searchFrom = 0;
  size_t copied = 0;
  auto copyUpTo = [&](size_t end) {
    const bool ok = job.output->Append(values + copied, end - copied);
    copied = end;
    return ok;
  };
  // Short texts are never stopped: the request is tested from a stride on.
  size_t nextStopTest = kStopStride;
  auto stopped = [&](size_t at) {
    if (!job.stop || at < nextStopTest)
      return false;
    nextStopTest = at + kStopStride;
    return job.stop->IsSet();
  };
  for (size_t count = 0; count < job.limit;) {
    size_t s = 0;
    size_t last = 0;
    CFileResult::replace_info position{};
    // The text is searched a stride at a time.
    bool hit = false;
    for (;;) {
      if (stopped(searchFrom))
        return platform::kErrorCancelled;
      const size_t until = length - searchFrom > kStopStride ? searchFrom + kStopStride : length;
      hit = found.Next(searchFrom, until, s, last, position);
      if (hit || until == length)
        break;
      searchFrom = until;
    }
    if (!hit)
      break;
    const auto describe = [&] { return DescribeChange(job, values, length, copied, s, last); };
    if (job.action != ActionType::FindOnly && !(*job.consent)(position, describe)) {
      searchFrom = found.Skip(s);
      continue;
    }
    if (!Record(*job.matches, position, s, length))
      return platform::kErrorOutOfMemory;
    ++count;
    if (job.action != ActionType::FindOnly) {
      if (!job.changed && !job.output->Reserve(length + length / 8 + job.replace.size()))
        return platform::kErrorOutOfMemory;
      job.changed = true;
    }
    const std::basic_string_view<T> replace = job.replace;
    bool ok = true;
    switch (job.action) {
      case ActionType::FindOnly:
        break;
      case ActionType::Replace:
        ok = copyUpTo(s) && job.output->Append(replace.data(), replace.size());
        copied = last + 1;
        break;
      case ActionType::Delete:
        ok = copyUpTo(s);
        copied = last + 1;
        break;
      case ActionType::PlaceBefore:
        ok = copyUpTo(s) && job.output->Append(replace.data(), replace.size());
        break;
      case ActionType::PlaceAfter:
        ok = copyUpTo(last + 1) && job.output->Append(replace.data(), replace.size());
        break;
      case ActionType::AddToBeginning:
        ok = job.output->Append(replace.data(), replace.size()) && copyUpTo(length);
        return ok ? 0 : platform::kErrorOutOfMemory;
      case ActionType::AddToEnd:
        ok = copyUpTo(length) && job.output->Append(replace.data(), replace.size());
        return ok ? 0 : platform::kErrorOutOfMemory;
    }
    if (!ok)
      return platform::kErrorOutOfMemory;
    searchFrom = found.Take(s, last);
  }
  if (job.changed && !copyUpTo(length))
    return platform::kErrorOutOfMemory;
  return 0;
}

// The scan of a file's bytes: by equal bytes where the find text allows, else token by token.
platform::ErrorCode ScanBytes(std::span<const unsigned char> bytes, const ByteTable& table,
                              const MatchFinder& finder, ScanJob<unsigned char>& job) {
  const ByteSource source(bytes, table, finder.filter());
  std::vector<unsigned char> pattern;
  if (ExactPattern(finder, table, source.breaks(), pattern) &&
      ExactByteSearch::Usable(pattern, ExactMatches::OnlyValue(source.breaks().carriageReturn),
                              ExactMatches::OnlyValue(source.breaks().lineFeed))) {
    ExactMatches found(bytes, pattern, source.breaks());
    return Scan(found, bytes.data(), bytes.size(), job);
  }
  TokenMatches<ByteSource> found(source, finder);
  return Scan(found, bytes.data(), bytes.size(), job);
}

}  // namespace

platform::ErrorCode ScanPlainText(TextBuffer& text, ActionType action, std::u16string_view find,
                                  std::u16string_view replace, bool caseSensitive,
                                  const MatchConsent& consent,
                                  std::vector<CFileResult::replace_info>& matches,
                                  const platform::StopEvent* stop) {
  if (find.empty())
    return 0;
  const MatchFinder finder(find, caseSensitive);
  GrowingBlock<char16_t> output;
  ScanJob<char16_t> job;
  job.stop = stop;
  job.action = action;
  job.replace = replace;
  job.consent = &consent;
  job.matches = &matches;
  job.output = &output;
  const UnitSource source(text.data(), text.length());
  TokenMatches<UnitSource> found(source, finder);
  const platform::ErrorCode error = Scan(found, text.data(), text.length(), job);
  if (error != 0 || !job.changed)
    return error;
  const size_t length = output.size();
  char16_t* block = output.Release();
  if (!block)
    return platform::kErrorOutOfMemory;
  text.Adopt(block, length);
  return 0;
}

platform::ErrorCode FindPlainTextInBytes(std::span<const unsigned char> bytes,
                                         const ByteTable& table, std::u16string_view find,
                                         bool caseSensitive,
                                         std::vector<CFileResult::replace_info>& matches,
                                         size_t limit, const platform::StopEvent* stop) {
  if (find.empty())
    return 0;
  const MatchFinder finder(find, caseSensitive);
  ScanJob<unsigned char> job;
  job.stop = stop;
  job.matches = &matches;
  job.limit = limit;
  return ScanBytes(bytes, table, finder, job);
}

platform::ErrorCode ChangePlainTextInBytes(std::span<const unsigned char> bytes,
                                           const ByteTable& table, ActionType action,
                                           std::u16string_view find,
                                           std::span<const unsigned char> replace,
                                           bool caseSensitive, const MatchConsent& consent,
                                           std::vector<CFileResult::replace_info>& matches,
                                           ByteBuffer& changed, const platform::StopEvent* stop) {
  if (find.empty())
    return 0;
  const MatchFinder finder(find, caseSensitive);
  GrowingBlock<unsigned char> output;
  ScanJob<unsigned char> job;
  job.stop = stop;
  job.action = action;
  job.replace = std::basic_string_view<unsigned char>(replace.data(), replace.size());
  job.table = &table;
  job.consent = &consent;
  job.matches = &matches;
  job.output = &output;
  const platform::ErrorCode error = ScanBytes(bytes, table, finder, job);
  if (error != 0 || !job.changed)
    return error;
  const size_t size = output.size();
  unsigned char* block = output.Release();
  if (!block)
    return platform::kErrorOutOfMemory;
  changed.Adopt(block, size);
  return 0;
}
