// The units at which a match can start, found from the program, and a fast scan for them.
#pragma once

#include <cstddef>

#include "text/regex/regex_program.h"

// Sets the program's start filter: every unit that the first consuming instruction of some path
// accepts, when no path reaches the end of the pattern or an instruction that needs no unit.
void ComputeStartFilter(RegexProgram& program);

// The first index in [from, limit) whose unit passes the program's start filter or is zero, or
// limit.
size_t FindStartCandidate(const RegexProgram& program, const char16_t* text, size_t from,
                          size_t limit);
