// Applies a regular expression run to one text: finds every match, asks for confirmation,
// records the matches and changes the text as the run's action says.
#pragma once

#include "platform/stop_event.h"
#include "platform/system_error.h"
#include "run/record/file_result.h"
#include "run/record/run_parameters.h"
#include "text/regex/regex_match.h"
#include "text/text_buffer.h"

// Searches the buffer with the run's compiled pattern (parameters.regex) from its start up to its
// first zero unit, appends the position of every accepted match to file.matches and splices the
// run's replaceText into the buffer. Positions are counted in the text as changed so far.
//
// Returns 0 when the text was searched to its end. Otherwise the search was abandoned part-way:
// platform::kErrorOutOfMemory when the backtracking stack, the buffer or the records could not
// grow, platform::kErrorCancelled when a stop request came (it is tested every few milliseconds
// of the search). Then the buffer may hold some of the changes and the records are incomplete:
// the text must not be written, and the file is to be reported as failed with the error's text.
[[nodiscard]]
platform::ErrorCode ApplyRegexToText(RunParameters& parameters, CFileResult& file,
                                     TextBuffer& buffer, const platform::StopEvent* stop = nullptr);

// The same with explicit bounds for each search.
[[nodiscard]]
platform::ErrorCode ApplyRegexToText(RunParameters& parameters, CFileResult& file,
                                     TextBuffer& buffer, const RegexMatchLimits& limits);
