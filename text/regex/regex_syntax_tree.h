// The parsed form of a pattern, between the parser and the instruction emitter.
#pragma once

#include <cstdint>
#include <vector>

#include "text/regex/regex_program.h"

enum class RegexNodeKind : std::int32_t {
  Literal,        // value: the unit
  Any,            // "."
  EndOfText,      // a final "$"
  BackReference,  // value: the group number
  Class,          // ranges, negated
  Group,          // value: the group number, or -1 when it does not capture; one child, a Sequence
  LookAhead,      // one child
  Repeat,         // value: a RegexRepeat; one child
  Alternation,    // children: the alternatives in order; trailingEmpty: the last one is empty
  Sequence,       // children: the items in order
};

enum class RegexRepeat : std::int32_t { Star, Plus, Optional, LazyStar, LazyPlus, LazyOptional };

struct RegexNode {
  RegexNodeKind kind = RegexNodeKind::Sequence;
  std::int32_t value = 0;
  bool negated = false;
  bool trailingEmpty = false;
  std::vector<UnitRange> ranges;
  std::vector<std::int32_t> children;  // indices into RegexSyntaxTree::nodes
};

struct RegexSyntaxTree {
  std::vector<RegexNode> nodes;
  std::int32_t root = -1;  // a Sequence
  bool anchored = false;   // the pattern began with "^"
  std::int32_t groupCount = 0;
  std::vector<bool> groupInLookAhead;  // per group
};
