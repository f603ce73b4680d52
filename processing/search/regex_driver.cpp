#include "processing/search/regex_driver.h"

#include <new>
#include <string>

#include "processing/change_lines.h"
#include "processing/confirmation.h"
#include "processing/match_lines.h"
#include "processing/search/match_edit.h"
#include "text/regex/line_position.h"
#include "text/regex/regex_program.h"

namespace {

constexpr size_t kLongText = size_t{1} << 20;

struct Region {
  size_t start = 0;
  size_t end = 0;
};

// From the start of group 0 to the end of the last group; the whole match when the program has
// no groups, when one of the two took no part, or when they do not make a range inside the match.
Region MatchRegion(const RegexProgram& program, const RegexMatch& match, const char16_t* text) {
  Region region{static_cast<size_t>(match.start() - text), static_cast<size_t>(match.end() - text)};
  if (program.groupCount <= 0)
    return region;
  const RegexGroupSpan first = match.group(0);
  const RegexGroupSpan last = match.group(static_cast<size_t>(program.groupCount - 1));
  if (!first.start || !last.end || first.start > last.end || first.start < match.start() ||
      last.end > match.end())
    return region;
  return {static_cast<size_t>(first.start - text), static_cast<size_t>(last.end - text)};
}

bool Record(CFileResult& file, const CFileResult::replace_info& position) {
  try {
    file.matches.push_back(position);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace

platform::ErrorCode ApplyRegexToText(RunParameters& parameters, CFileResult& file,
                                     TextBuffer& buffer, const platform::StopEvent* stop) {
  RegexMatchLimits limits;
  limits.stop = stop;
  return ApplyRegexToText(parameters, file, buffer, limits);
}

platform::ErrorCode ApplyRegexToText(RunParameters& parameters, CFileResult& file,
                                     TextBuffer& buffer, const RegexMatchLimits& limits) {
  const RegexProgram* program = parameters.regex;
  if (!program || program->lastError != kRegexOk || !buffer.data())
    return 0;
  const std::u16string_view replacement = parameters.replaceText;
  // Past a zero unit that the replacement brings in, the text has ended.
  const bool replacementEndsText = replacement.find(u'\0') != std::u16string_view::npos;

  RegexMatch match;
  LineCounter lines;
  // The search ends at the first zero unit, at the latest the one after the last unit.
  size_t next = 0;
  while (next <= buffer.length()) {
    const char16_t* text = buffer.data();
    if (!MatchRegex(*program, text + next, text + buffer.length(), match, limits))
      return match.error();
    const size_t matchStart = static_cast<size_t>(match.start() - text);
    if (match.end() == match.start()) {
      // An empty match is passed over.
      if (text[matchStart] == 0)
        return 0;
      next = matchStart + 1;
      continue;
    }
    const Region region = MatchRegion(*program, match, text);
    const LineColumn where = lines.At(text, region.start);
    const CFileResult::replace_info position{where.line, where.column};

    size_t resume = region.end;
    const LineSource lineText(std::u16string_view(text, buffer.length()));
    const TextEdit edit =
        EditOfAction(parameters.action, region.start, region.end, buffer.length(), replacement);
    if (parameters.action == ActionType::FindOnly) {
      if (!Record(file, position))
        return platform::kErrorOutOfMemory;
      KeepMatchLine(file, lineText, region.start, region.end, {}, parameters.matchLineBytes);
    } else if (AskConfirmation(parameters, position, file, [&] {
                 const std::u16string_view whole(buffer.data(), buffer.length());
                 return LinesOfChange(whole, region.start, region.end, edit);
               })) {
      if (!Record(file, position))
        return platform::kErrorOutOfMemory;
      KeepMatchLine(file, lineText, region.start, region.end, {parameters.action, replacement},
                    parameters.matchLineBytes);
      if (!SpliceText(buffer, edit.removed, edit.start, edit.inserted))
        return platform::kErrorOutOfMemory;
      if (ChangesOncePerText(parameters.action))
        return 0;
      resume = ResumeAfterEdit(edit, region.end);
      // Each change of a long text moves much of it, which the matcher's steps do not count.
      if (buffer.length() >= kLongText && limits.stop && limits.stop->IsSet())
        return platform::kErrorCancelled;
      if (replacementEndsText && !edit.inserted.empty())
        return 0;
    }
    // No search starts where the last one did unless a unit of the text was passed.
    if (region.end == next)
      ++resume;
    next = resume;
  }
  return 0;
}
