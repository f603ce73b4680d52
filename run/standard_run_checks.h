// The pattern and variable checks of the Run command as the program makes them, shared by every
// front end that starts runs.
#pragma once

#include "run/run_command.h"
#include "text/regex/regex_program.h"

// Compiles patterns into `program` (which must outlive every run started with the checks) and
// checks variables with no file. The compile error's message is RegexErrorMessage of its code.
RunChecks StandardRunChecks(RegexProgram& program);
