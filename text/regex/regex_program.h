// A compiled pattern of the program's regular expression dialect: the instruction list of the
// backtracking matcher and what the matcher needs to know about it.
#pragma once

#include <cstdint>
#include <vector>

// Instruction types. "Fail" in the comments means: pop the top stack entry, an instruction
// index, and continue there.
enum class RegexOp : std::int32_t {
  Nop,               // nothing; also the bounds of a class
  GroupStart,        // group start := position
  GroupEnd,          // group end := position
  Symbol,            // the unit equals the operand: advance; else fail
  EndOfText,         // at the end of the text: go on; else fail
  Any,               // not at the end: advance; else fail
  InSet,             // the unit lies in one of the following Nop pairs: advance, go to operand
  NotInSet,          // the unit lies in none of the pairs: advance, go to operand
  Jump,              // go to operand
  PushPosition,      // push the position
  PopPosition,       // position := popped entry
  Call,              // push the next index, go to operand
  Return,            // fail
  PushMemory,        // push memory slot
  PopMemory,         // memory slot := popped entry
  StorePosition,     // memory slot := position
  StoreStackHeight,  // memory slot := stack height
  LoadPosition,      // position := memory slot
  LoadStackHeight,   // stack height := memory slot
  FailIfNoProgress,  // fail when the position equals memory slot
  BackReference,     // the text of group operand follows: advance over it; else fail
  PushGroup,         // push start and end of group
  PopGroup,          // group end, then start := popped entries
  Fail,              // the whole search fails
  Advance,           // the attempt at this start position failed
  Match,             // success
  // A loop over a one-unit step, the instructions after the Back one (a Symbol, Any, or a class
  // with its pairs; never run themselves), backtracked from a counter: two or three stack
  // entries however many units it covers. Operand: the index after the step.
  GreedyUnits,      // take every unit the step accepts; push lowest end, end, the Back index
  GreedyUnitsBack,  // reached by failing: give back one unit, going on at the operand
  LazyUnits,        // push the position and the Back index; go to the operand
  LazyUnitsBack,    // reached by failing: take one more unit when the step accepts it
};

// How a loop over a one-unit step is compiled: backtracked from a counter, or unit by unit with
// stack entries for each (the general loop, kept to check the counted one against).
enum class RegexLoopForm { Counted, Stepwise };

struct RegexInstruction {
  RegexOp type = RegexOp::Nop;
  std::int32_t operand = 0;
};

// Compile error codes, with the texts of RegexErrorMessage.
enum RegexError : int {
  kRegexOk = 0,
  kRegexOutOfMemory = 1,
  kRegexBraceExpected = 2,
  kRegexParenthesisExpected = 3,
  kRegexBracketExpected = 4,
  kRegexUnexpected = 5,
  kRegexEmptyRange = 6,
  kRegexInvalidGroup = 7,
  kRegexInvalidRange = 8,
  kRegexEmptyRepeat = 9,
  kRegexInvalidInput = 10,
};

// An inclusive range of 16-bit units.
struct UnitRange {
  char16_t low = 0;
  char16_t high = 0;
};

struct RegexProgram {
  std::vector<RegexInstruction> instructions;
  std::int32_t groupCount = 0;
  std::int32_t memorySlotCount = 0;
  bool caseSensitive = true;
  int lastError = kRegexOk;

  // Groups inside a negative look-ahead never take part in a match; the matcher clears them.
  std::vector<bool> groupInLookAhead;
  bool hasLookAheadGroups = false;

  // Units of the unfolded text at which a match can start, when the pattern cannot match
  // without consuming a unit: attempts elsewhere fail at their first step and are skipped.
  bool hasStartFilter = false;
  std::vector<UnitRange> startRanges;
  // Bit u set when unit u may start a match; filled when startRanges are too many to test.
  std::vector<std::uint64_t> startBitmap;
};
