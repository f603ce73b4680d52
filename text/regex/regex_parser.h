// Reads a pattern of the program's regular expression dialect into a syntax tree.
#pragma once

#include <string_view>

#include "text/regex/regex_syntax_tree.h"

// Deeper nesting of groups and look-aheads is refused with kRegexOutOfMemory.
inline constexpr int kRegexMaxNesting = 250;

// Parses an already case-folded pattern. Returns a RegexError code; the tree is complete only
// when it is kRegexOk. May throw std::bad_alloc.
int ParseRegex(std::u16string_view pattern, RegexSyntaxTree& tree);
