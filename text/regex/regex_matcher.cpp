#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "platform/heap_block.h"
#include "text/regex/regex_match.h"
#include "text/regex/regex_start_filter.h"

namespace {

constexpr size_t kInitialStackEntries = 256;
// Units passed over in bulk (by a loop over a one-unit step, or looking for the next start) are
// taken this many at a time between stop checks, and count a step per kUnitsPerStep.
constexpr size_t kBulkUnits = size_t{1} << 16;
constexpr std::uint64_t kUnitsPerStep = 16;
// What a new attempt counts for, so that the request is tested every few thousand attempts.
constexpr std::uint64_t kAttemptSteps = 256;

template <bool kFold>
inline std::int32_t Unit(char16_t c) {
  if constexpr (kFold)
    return (c >= u'A' && c <= u'Z') ? c + 32 : c;
  else
    return c;
}

// Whether a unit (not zero) passes the class whose InSet or NotInSet instruction is at `set`.
inline bool PassesClass(const RegexInstruction* code, std::int32_t set, std::int32_t unit) {
  const RegexInstruction* bound = code + set + 1;
  const RegexInstruction* last = code + code[set].operand;
  while (bound < last && (unit < bound[0].operand || unit > bound[1].operand))
    bound += 2;
  return (bound < last) == (code[set].type == RegexOp::InSet);
}

// Whether the one-unit step at `step` (Symbol, Any or a class) accepts the unit.
template <bool kFold>
inline bool StepAccepts(const RegexInstruction* code, std::int32_t step, char16_t c) {
  if (c == 0)
    return false;
  switch (code[step].type) {
    case RegexOp::Symbol:
      return Unit<kFold>(c) == code[step].operand;
    case RegexOp::Any:
      return true;
    default:
      return PassesClass(code, step, Unit<kFold>(c));
  }
}

// The first index from `from` on, below `to`, whose unit the step does not accept (the zero
// unit that ends the text at the latest), or `to`.
template <bool kFold>
size_t SkipAccepted(const RegexInstruction* code, std::int32_t step, const char16_t* text,
                    size_t from, size_t to) {
  size_t i = from;
  switch (code[step].type) {
    case RegexOp::Symbol: {
      const std::int32_t unit = code[step].operand;
      while (i < to && Unit<kFold>(text[i]) == unit)
        ++i;
      return i;
    }
    case RegexOp::Any:
      while (i < to && text[i] != 0)
        ++i;
      return i;
    default:
      while (i < to && text[i] != 0 && PassesClass(code, step, Unit<kFold>(text[i])))
        ++i;
      return i;
  }
}

}  // namespace

size_t DefaultRegexStackLimit() {
  static const size_t limit = [] {
    const size_t memory = platform::PhysicalMemorySize();
    return memory ? memory / 2 / sizeof(std::intptr_t)
                  : std::numeric_limits<size_t>::max() / sizeof(std::intptr_t);
  }();
  return limit;
}

RegexGroupSpan RegexMatch::group(size_t g) const {
  if (g >= groupCount_ || groups_[2 * g] < 0 || groups_[2 * g + 1] < 0)
    return {};
  return {text_ + groups_[2 * g], text_ + groups_[2 * g + 1]};
}

class RegexMatcher {
 public:
  RegexMatcher(const RegexProgram& program, const char16_t* text, size_t limit, RegexMatch& match,
               const RegexMatchLimits& limits)
      : program_(program), text_(text), limit_(limit), match_(match), limits_(limits) {}

  bool Search() {
    match_.error_ = 0;
    match_.text_ = text_;
    match_.start_ = match_.end_ = 0;
    if (program_.lastError != kRegexOk || program_.instructions.size() < 3)
      return false;
    if (!Prepare()) {
      match_.error_ = platform::kErrorOutOfMemory;
      return false;
    }
    return program_.caseSensitive ? Run<false>() : Run<true>();
  }

 private:
  static bool Reserve(RegexMatch::Words& words, size_t& capacity, size_t count) {
    if (count <= capacity)
      return true;
    if (count > std::numeric_limits<size_t>::max() / sizeof(std::intptr_t))
      return false;
    void* grown = std::realloc(words.get(), count * sizeof(std::intptr_t));
    if (!grown)
      return false;
    words.release();
    words.reset(static_cast<std::intptr_t*>(grown));
    capacity = count;
    return true;
  }

  // Sizes the group and slot arrays from the program and empties them.
  bool Prepare() {
    const size_t groups = static_cast<size_t>(program_.groupCount);
    const size_t slots = static_cast<size_t>(program_.memorySlotCount);
    if (!Reserve(match_.groups_, match_.groupCapacity_, 2 * groups + 1) ||
        !Reserve(match_.memory_, match_.memoryCapacity_, slots + 1) ||
        !Reserve(match_.stack_, match_.stackCapacity_,
                 std::min(kInitialStackEntries, limits_.maxStackEntries)))
      return false;
    match_.groupCount_ = groups;
    ClearGroups(false);
    std::memset(match_.memory_.get(), 0, slots * sizeof(std::intptr_t));
    return true;
  }

  // Empties every group, or only those inside a negative look-ahead.
  void ClearGroups(bool lookAheadOnly) {
    std::intptr_t* groups = match_.groups_.get();
    for (size_t g = 0; g < match_.groupCount_; ++g) {
      if (!lookAheadOnly || program_.groupInLookAhead[g])
        groups[2 * g] = groups[2 * g + 1] = -1;
    }
  }

  // Grows the full stack to twice its entries plus 4, within the limit.
  bool GrowStack(size_t height) {
    size_t wanted = height > (std::numeric_limits<size_t>::max() - 4) / 2
                        ? std::numeric_limits<size_t>::max()
                        : 2 * height + 4;
    if (wanted > limits_.maxStackEntries)
      wanted = limits_.maxStackEntries;
    if (wanted <= height)
      return false;
    return Reserve(match_.stack_, match_.stackCapacity_, wanted);
  }

  template <bool kFold>
  bool Run() {
    const RegexInstruction* code = program_.instructions.data();
    const char16_t* text = text_;
    std::intptr_t* groups = match_.groups_.get();
    std::intptr_t* memory = match_.memory_.get();
    std::intptr_t* stack = match_.stack_.get();
    // A stack kept from an earlier search may exceed this search's limit.
    size_t capacity = std::min(match_.stackCapacity_, limits_.maxStackEntries);
    size_t height = 0;

    // Steps left until the stop request is tested; what is left is kept for the next search.
    const std::uint64_t interval = std::max<std::uint64_t>(limits_.stepsBetweenStopChecks, 1);
    std::uint64_t countdown = match_.stepsToStopCheck_;
    if (countdown == 0 || countdown > interval)
      countdown = interval;
    struct KeepCountdown {
      std::uint64_t& kept;
      const std::uint64_t& left;
      ~KeepCountdown() { kept = left; }
    } keep{match_.stepsToStopCheck_, countdown};
    // Counts `steps` more; true when the stop request came.
    auto stopped = [&](std::uint64_t steps) {
      if (steps < countdown) {
        countdown -= steps;
        return false;
      }
      countdown = interval;
      return limits_.stop && limits_.stop->IsSet();
    };

    // The first start position from `from` on that can begin a match, or the end of the text;
    // false when the stop request came while looking.
    auto nextStart = [&](size_t& from) {
      if (!program_.hasStartFilter)
        return true;
      for (;;) {
        const size_t to = limit_ - from > kBulkUnits ? from + kBulkUnits : limit_;
        const size_t found = FindStartCandidate(program_, text, from, to);
        if (found < to || to == limit_) {
          from = found;
          return true;
        }
        from = to;
        if (stopped(kBulkUnits / kUnitsPerStep))
          return false;
      }
    };

    // The text ends at its first zero unit.
    size_t start = 0;
    if (!nextStart(start))
      return Fail(platform::kErrorCancelled);
    if (program_.hasStartFilter && text[start] == 0)
      return false;
    size_t pos = start;
    std::int32_t pc = 0;

    // Pushes one entry, growing the stack when it is full.
    auto push = [&](auto value) {
      if (height == capacity) {
        if (!GrowStack(height))
          return false;
        stack = match_.stack_.get();
        capacity = std::min(match_.stackCapacity_, limits_.maxStackEntries);
      }
      stack[height++] = static_cast<std::intptr_t>(value);
      return true;
    };

    for (;;) {
      if (--countdown == 0 && stopped(0))
        return Fail(platform::kErrorCancelled);
      const RegexInstruction in = code[pc];
      switch (in.type) {
        case RegexOp::Nop:
          ++pc;
          continue;
        case RegexOp::GroupStart:
          groups[2 * in.operand] = static_cast<std::intptr_t>(pos);
          ++pc;
          continue;
        case RegexOp::GroupEnd:
          groups[2 * in.operand + 1] = static_cast<std::intptr_t>(pos);
          ++pc;
          continue;
        case RegexOp::Symbol:
          // No operand is zero: patterns end at their first zero unit.
          if (Unit<kFold>(text[pos]) != in.operand)
            break;
          ++pos;
          ++pc;
          continue;
        case RegexOp::EndOfText:
          if (text[pos] != 0)
            break;
          ++pc;
          continue;
        case RegexOp::Any:
          if (text[pos] == 0)
            break;
          ++pos;
          ++pc;
          continue;
        case RegexOp::InSet:
        case RegexOp::NotInSet:
          if (text[pos] == 0 || !PassesClass(code, pc, Unit<kFold>(text[pos])))
            break;
          ++pos;
          pc = in.operand;
          continue;
        case RegexOp::Jump:
          pc = in.operand;
          continue;
        case RegexOp::PushPosition:
          if (!push(pos))
            return Fail(platform::kErrorOutOfMemory);
          ++pc;
          continue;
        case RegexOp::PopPosition:
          pos = static_cast<size_t>(stack[--height]);
          ++pc;
          continue;
        case RegexOp::Call:
          if (!push(pc + 1))
            return Fail(platform::kErrorOutOfMemory);
          pc = in.operand;
          continue;
        case RegexOp::Return:
          break;
        case RegexOp::PushMemory:
          if (!push(memory[in.operand]))
            return Fail(platform::kErrorOutOfMemory);
          ++pc;
          continue;
        case RegexOp::PopMemory:
          memory[in.operand] = stack[--height];
          ++pc;
          continue;
        case RegexOp::StorePosition:
          memory[in.operand] = static_cast<std::intptr_t>(pos);
          ++pc;
          continue;
        case RegexOp::StoreStackHeight:
          memory[in.operand] = static_cast<std::intptr_t>(height);
          ++pc;
          continue;
        case RegexOp::LoadPosition:
          pos = static_cast<size_t>(memory[in.operand]);
          ++pc;
          continue;
        case RegexOp::LoadStackHeight:
          if (static_cast<size_t>(memory[in.operand]) < height)
            height = static_cast<size_t>(memory[in.operand]);
          ++pc;
          continue;
        case RegexOp::FailIfNoProgress:
          if (static_cast<std::intptr_t>(pos) == memory[in.operand])
            break;
          ++pc;
          continue;
        case RegexOp::BackReference: {
          const std::intptr_t from = groups[2 * in.operand];
          const std::intptr_t to = groups[2 * in.operand + 1];
          const size_t length =
              (from >= 0 && to >= 0 && to >= from) ? static_cast<size_t>(to - from) : 0;
          // The group's units are not zero, so the comparison stops at the end of the text.
          size_t i = 0;
          while (i < length &&
                 Unit<kFold>(text[static_cast<size_t>(from) + i]) == Unit<kFold>(text[pos + i]))
            ++i;
          if (i < length)
            break;
          pos += length;
          ++pc;
          continue;
        }
        case RegexOp::PushGroup:
          if (!push(groups[2 * in.operand]) || !push(groups[2 * in.operand + 1]))
            return Fail(platform::kErrorOutOfMemory);
          ++pc;
          continue;
        case RegexOp::PopGroup:
          groups[2 * in.operand + 1] = stack[--height];
          groups[2 * in.operand] = stack[--height];
          ++pc;
          continue;
        case RegexOp::GreedyUnits: {
          // The step never accepts the zero unit, so the scan ends inside the text.
          size_t end = pos;
          for (;;) {
            const size_t scanned = SkipAccepted<kFold>(code, pc + 2, text, end, end + kBulkUnits);
            if (scanned < end + kBulkUnits) {
              end = scanned;
              break;
            }
            end = scanned;
            if (stopped(kBulkUnits / kUnitsPerStep))
              return Fail(platform::kErrorCancelled);
          }
          if (end > pos && (!push(pos) || !push(end) || !push(pc + 1)))
            return Fail(platform::kErrorOutOfMemory);
          pos = end;
          pc = in.operand;
          continue;
        }
        case RegexOp::GreedyUnitsBack: {
          // Below the index just taken: the fewest units, then the units taken now.
          const auto end = static_cast<size_t>(stack[height - 1]) - 1;
          if (end > static_cast<size_t>(stack[height - 2])) {
            stack[height - 1] = static_cast<std::intptr_t>(end);
            stack[height++] = pc;
          } else {
            height -= 2;
          }
          pos = end;
          pc = in.operand;
          continue;
        }
        case RegexOp::LazyUnits:
          if (!push(pos) || !push(pc + 1))
            return Fail(platform::kErrorOutOfMemory);
          pc = in.operand;
          continue;
        case RegexOp::LazyUnitsBack: {
          // Below the index just taken: where the rest was tried last.
          const auto at = static_cast<size_t>(stack[height - 1]);
          if (!StepAccepts<kFold>(code, pc + 1, text[at])) {
            --height;
            break;
          }
          pos = at + 1;
          stack[height - 1] = static_cast<std::intptr_t>(pos);
          stack[height++] = pc;
          pc = in.operand;
          continue;
        }
        case RegexOp::Fail:
          return false;
        case RegexOp::Advance:
          if (text[start] == 0 || text[++start] == 0)
            return false;
          if (stopped(kAttemptSteps) || !nextStart(start))
            return Fail(platform::kErrorCancelled);
          if (text[start] == 0)
            return false;
          if (program_.hasLookAheadGroups)
            ClearGroups(false);
          height = 0;
          pos = start;
          pc = 0;
          continue;
        case RegexOp::Match:
          if (program_.hasLookAheadGroups)
            ClearGroups(true);
          match_.start_ = static_cast<std::ptrdiff_t>(start);
          match_.end_ = static_cast<std::ptrdiff_t>(pos);
          return true;
      }
      // Fail: continue at the index on top of the stack. Its bottom entry is the one pushed
      // by instruction 0.
      pc = height ? static_cast<std::int32_t>(stack[--height]) : 1;
    }
  }

  bool Fail(platform::ErrorCode error) {
    match_.error_ = error;
    return false;
  }

  const RegexProgram& program_;
  const char16_t* text_;
  size_t limit_;
  RegexMatch& match_;
  const RegexMatchLimits& limits_;
};

bool MatchRegex(const RegexProgram& program, const char16_t* text, const char16_t* limit,
                RegexMatch& match, const RegexMatchLimits& limits) {
  RegexMatcher matcher(program, text, static_cast<size_t>(limit - text), match, limits);
  return matcher.Search();
}

bool MatchRegex(const RegexProgram& program, const char16_t* text, RegexMatch& match) {
  return MatchRegex(program, text, text + std::char_traits<char16_t>::length(text), match);
}
