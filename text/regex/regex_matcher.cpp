#include <algorithm>
#include <cstring>
#include <string>

#include "text/regex/regex_match.h"
#include "text/regex/regex_start_filter.h"

namespace {

constexpr size_t kInitialStackEntries = 256;
// Once an attempt has run its allowance, the stop request is tested every this many steps.
constexpr std::uint64_t kStopCheckInterval = 4096;

template <bool kFold>
inline std::int32_t Unit(char16_t c) {
  if constexpr (kFold)
    return (c >= u'A' && c <= u'Z') ? c + 32 : c;
  else
    return c;
}

}  // namespace

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
    size_t wanted = 2 * height + 4;
    if (wanted > limits_.maxStackEntries)
      wanted = limits_.maxStackEntries;
    if (wanted <= height)
      return false;
    return Reserve(match_.stack_, match_.stackCapacity_, wanted);
  }

  // The first start position at or after from that can begin a match, or the end of the text.
  size_t NextStart(size_t from) const {
    return program_.hasStartFilter ? FindStartCandidate(program_, text_, from, limit_) : from;
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
    const std::uint64_t allowance = limits_.stepsBeforeStopCheck;
    std::uint64_t steps = 0;

    // The text ends at its first zero unit.
    size_t start = NextStart(0);
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
      if (++steps > allowance && steps % kStopCheckInterval == 0 && limits_.stop &&
          limits_.stop->IsSet())
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
        case RegexOp::NotInSet: {
          if (text[pos] == 0)
            break;
          const std::int32_t unit = Unit<kFold>(text[pos]);
          const RegexInstruction* bound = code + pc + 1;
          const RegexInstruction* last = code + in.operand;
          while (bound < last && (unit < bound[0].operand || unit > bound[1].operand))
            bound += 2;
          if ((bound < last) != (in.type == RegexOp::InSet))
            break;
          ++pos;
          pc = in.operand;
          continue;
        }
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
        case RegexOp::Fail:
          return false;
        case RegexOp::Advance:
          if (text[start] == 0 || text[++start] == 0)
            return false;
          start = NextStart(start);
          if (text[start] == 0)
            return false;
          if (program_.hasLookAheadGroups)
            ClearGroups(false);
          height = 0;
          steps = 0;
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
