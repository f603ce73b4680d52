// Turns a syntax tree into the matcher's instruction list.
#pragma once

#include <cstddef>

#include "text/regex/regex_program.h"
#include "text/regex/regex_syntax_tree.h"

// Programs longer than this are refused with kRegexOutOfMemory.
inline constexpr size_t kRegexMaxInstructions = size_t{1} << 20;

// Fills the program's instructions and memory slot count from the tree. Returns a RegexError
// code. May throw std::bad_alloc.
int EmitRegex(const RegexSyntaxTree& tree, RegexProgram& program,
              RegexLoopForm loops = RegexLoopForm::Counted);
