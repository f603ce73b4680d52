// The backtracking matcher: finds the first match of a compiled pattern in a text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/stop_event.h"
#include "platform/system_error.h"
#include "text/regex/regex_program.h"

struct RegexGroupSpan {
  // Both null when the group took no part in the match.
  const char16_t* start = nullptr;
  const char16_t* end = nullptr;
};

// The most entries the backtracking stack may have by default: half the physical memory, or no
// bound but the heap's when the system does not say how much there is.
size_t DefaultRegexStackLimit();

// Bounds of one search.
struct RegexMatchLimits {
  // Tested once every stepsBetweenStopChecks steps, counted over the searches of one
  // RegexMatch: a new attempt counts 256, units passed over in bulk one per 16.
  const platform::StopEvent* stop = nullptr;
  std::uint64_t stepsBetweenStopChecks = std::uint64_t{1} << 20;
  // The backtracking stack never grows beyond this many entries.
  size_t maxStackEntries = DefaultRegexStackLimit();
};

// The result and working memory of MatchRegex, reused for every match in one text.
class RegexMatch {
 public:
  RegexMatch() = default;
  RegexMatch(const RegexMatch&) = delete;
  RegexMatch& operator=(const RegexMatch&) = delete;

  const char16_t* start() const { return text_ + start_; }
  const char16_t* end() const { return text_ + end_; }
  size_t groupCount() const { return groupCount_; }
  RegexGroupSpan group(size_t g) const;
  // Why the last search found nothing: 0, platform::kErrorOutOfMemory when the stack could not
  // grow, platform::kErrorCancelled when a stop request ended it.
  platform::ErrorCode error() const { return error_; }

 private:
  friend class RegexMatcher;
  struct FreeDeleter {
    void operator()(void* block) const { std::free(block); }
  };
  using Words = std::unique_ptr<std::intptr_t[], FreeDeleter>;

  const char16_t* text_ = nullptr;
  std::ptrdiff_t start_ = 0;
  std::ptrdiff_t end_ = 0;
  // Start and end offset of each group, -1 when unset.
  Words groups_;
  size_t groupCount_ = 0;
  size_t groupCapacity_ = 0;
  Words memory_;
  size_t memoryCapacity_ = 0;
  Words stack_;
  size_t stackCapacity_ = 0;
  platform::ErrorCode error_ = 0;
  // Steps left until the stop request is tested, carried from one search to the next; 0 before
  // the first.
  std::uint64_t stepsToStopCheck_ = 0;
};

// Searches text up to its first zero unit. True when a match was found; its start, end and groups
// are positions in the buffer of text.
bool MatchRegex(const RegexProgram& program, const char16_t* text, RegexMatch& match);

// The same where a zero unit is known to stand at limit (or before it): no unit past limit is
// read, and the text's length need not be counted first.
bool MatchRegex(const RegexProgram& program, const char16_t* text, const char16_t* limit,
                RegexMatch& match, const RegexMatchLimits& limits = {});
