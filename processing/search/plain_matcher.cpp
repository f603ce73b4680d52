#include "processing/search/plain_matcher.h"

#include <new>
#include <type_traits>

namespace plain_match {

namespace {

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

}  // namespace

bool UnitMatcher::Choice(char16_t findUnit, UnitChoice& choice) const {
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

ByteSource::ByteSource(std::span<const unsigned char> bytes, const ByteTable& table,
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

}  // namespace plain_match
