// Compiles patterns of the program's regular expression dialect.
#pragma once

#include <string>
#include <string_view>

#include "text/regex/regex_program.h"

// Compiles the pattern into the program, replacing its previous content, and returns a
// RegexError code (also kept as the program's lastError). Without case sensitivity the letters
// A-Z of the pattern are read as a-z. A null pattern is kRegexInvalidInput.
int CompileRegex(bool caseSensitive, RegexProgram& program, const char16_t* pattern);
int CompileRegex(bool caseSensitive, RegexProgram& program, std::u16string_view pattern,
                 RegexLoopForm loops = RegexLoopForm::Counted);

// The message for a compile error code.
std::u16string RegexErrorMessage(int code);
