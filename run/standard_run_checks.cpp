#include "run/standard_run_checks.h"

#include "text/regex/regex_compiler.h"
#include "text/variables.h"

RunChecks StandardRunChecks(RegexProgram& program) {
  RunChecks checks;
  checks.compilePattern = [&program](const std::u16string& pattern, bool caseSensitive,
                                     const RegexProgram*& compiled, std::u16string& message) {
    const int code = CompileRegex(caseSensitive, program, std::u16string_view(pattern));
    if (code != kRegexOk) {
      message = RegexErrorMessage(code);
      return false;
    }
    compiled = &program;
    return true;
  };
  checks.checkVariables = [](std::u16string& text) { return ExpandVariables(text, nullptr); };
  return checks;
}
