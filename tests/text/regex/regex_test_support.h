// Helpers for the regular expression tests: compile and search in one call, run the driver over
// a text with scripted confirmation answers.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "processing/search/regex_driver.h"
#include "run/record/run_parameters.h"
#include "tests/support/recording_channel.h"
#include "text/regex/regex_compiler.h"
#include "text/regex/regex_match.h"
#include "text/text_buffer.h"

namespace regex_test {

inline std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text)
    out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// The first match of the pattern in the text as "[start,end)", or "none".
inline std::string Find(std::u16string_view pattern, std::u16string_view text,
                        bool caseSensitive = true) {
  RegexProgram program;
  const int error = CompileRegex(caseSensitive, program, pattern);
  if (error)
    return "compile error " + std::to_string(error);
  RegexMatch match;
  if (!MatchRegex(program, text.data(), text.data() + text.size(), match))
    return "none";
  return "[" + std::to_string(match.start() - text.data()) + "," +
         std::to_string(match.end() - text.data()) + ")";
}

// The text of the first match, or "none".
inline std::string Found(std::u16string_view pattern, std::u16string_view text,
                         bool caseSensitive = true) {
  RegexProgram program;
  const int error = CompileRegex(caseSensitive, program, pattern);
  if (error)
    return "compile error " + std::to_string(error);
  RegexMatch match;
  if (!MatchRegex(program, text.data(), text.data() + text.size(), match))
    return "none";
  return Narrow(
      std::u16string_view(match.start(), static_cast<size_t>(match.end() - match.start())));
}

struct DriverResult {
  platform::ErrorCode error = 0;
  std::u16string text;
  // The recorded positions as "line:column" joined by spaces.
  std::string positions;
  size_t questions = 0;
};

inline std::string Positions(const std::vector<CFileResult::replace_info>& matches) {
  std::string out;
  for (const auto& m : matches)
    out += (out.empty() ? "" : " ") + std::to_string(m.line) + ":" + std::to_string(m.character);
  return out;
}

// Runs the driver over the text. Without answers every change is accepted without a question.
inline DriverResult Apply(std::u16string_view pattern, std::u16string_view text, ActionType action,
                          std::u16string_view replacement = u"",
                          std::vector<ConfirmAnswer> answers = {}, bool caseSensitive = true,
                          const RegexMatchLimits& limits = {}) {
  DriverResult result;
  RegexProgram program;
  EXPECT_EQ(CompileRegex(caseSensitive, program, pattern), 0) << Narrow(pattern);
  RecordingChannel window(answers, ConfirmAnswer::No);
  // Building run parameters builds a code page catalogue: one record serves every call.
  static RunParameters parameters;
  parameters.action = action;
  parameters.regex = &program;
  parameters.replaceText = replacement;
  parameters.targetWindow = &window;
  parameters.confirmState = answers.empty() ? ConfirmAnswer::YesToAll : ConfirmAnswer::Ask;
  TextBuffer buffer;
  EXPECT_TRUE(TextBuffer::FromText(text, buffer));
  CFileResult file;
  result.error = ApplyRegexToText(parameters, file, buffer, limits);
  result.text.assign(buffer.view());
  result.positions = Positions(file.matches);
  result.questions = window.asked.size();
  return result;
}

}  // namespace regex_test
