#include "text/regex/regex_compiler.h"

#include <new>

#include "platform/string_table.h"
#include "text/regex/regex_emitter.h"
#include "text/regex/regex_parser.h"
#include "text/regex/regex_start_filter.h"

namespace {

int Compile(bool caseSensitive, RegexProgram& program, std::u16string_view pattern,
            RegexLoopForm loops) {
  // Like a text, a pattern ends at its first zero unit.
  std::u16string folded(pattern.substr(0, pattern.find(u'\0')));
  if (!caseSensitive) {
    for (char16_t& c : folded) {
      if (c >= u'A' && c <= u'Z')
        c = static_cast<char16_t>(c + 32);
    }
  }
  RegexSyntaxTree tree;
  if (int error = ParseRegex(folded, tree))
    return error;
  if (int error = EmitRegex(tree, program, loops))
    return error;
  program.groupCount = tree.groupCount;
  program.groupInLookAhead = tree.groupInLookAhead;
  for (bool inside : tree.groupInLookAhead)
    program.hasLookAheadGroups = program.hasLookAheadGroups || inside;
  ComputeStartFilter(program);
  return kRegexOk;
}

}  // namespace

int CompileRegex(bool caseSensitive, RegexProgram& program, std::u16string_view pattern,
                 RegexLoopForm loops) {
  program = RegexProgram();
  program.caseSensitive = caseSensitive;
  int error;
  try {
    error = Compile(caseSensitive, program, pattern, loops);
  } catch (const std::bad_alloc&) {
    error = kRegexOutOfMemory;
  }
  if (error) {
    program = RegexProgram();
    program.caseSensitive = caseSensitive;
  }
  program.lastError = error;
  return error;
}

int CompileRegex(bool caseSensitive, RegexProgram& program, const char16_t* pattern) {
  if (!pattern) {
    program = RegexProgram();
    program.caseSensitive = caseSensitive;
    program.lastError = kRegexInvalidInput;
    return kRegexInvalidInput;
  }
  return CompileRegex(caseSensitive, program, std::u16string_view(pattern));
}

std::u16string RegexErrorMessage(int code) {
  if (code < kRegexOk || code > kRegexInvalidInput)
    return platform::LoadText(IDS_REGEX_ERROR_UNKNOWN);
  return platform::LoadText(IDS_REGEX_ERROR_0 + static_cast<unsigned>(code));
}
