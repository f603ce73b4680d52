// libFuzzer target: compiles random patterns and runs them over random texts, directly and
// through the driver, with a step cap. Checks that every search ends, that results lie inside
// the text, that the start filter never changes a result, that loops over one unit find the same
// counted as unit by unit, and that folding case while matching equals matching the folded
// pattern in the folded text.
//
// Input: one flag byte (bit 0 case sensitive, bits 1-3 the action, bits 4-5 the replacement),
// the pattern, a 0xFF byte, the text. Bytes are units; 0xFE and two more bytes give any unit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/stop_event.h"
#include "run/record/run_channel.h"
#include "run/record/run_parameters.h"
#include "text/regex/regex_compiler.h"
#include "processing/search/regex_driver.h"
#include "text/regex/regex_match.h"
#include "text/text_buffer.h"

namespace {

#define FUZZ_CHECK(condition) \
  do {                        \
    if (!(condition))         \
      std::abort();           \
  } while (false)

class AlternatingAnswers : public RunChannel {
 public:
  void SendResult(ResultMessage) override {}
  ConfirmAnswer SendConfirmation(const CFileResult::replace_info&, const CFileResult&) override {
    return (++count_ % 3) ? ConfirmAnswer::Yes : ConfirmAnswer::No;
  }

 private:
  unsigned count_ = 0;
};

std::u16string ReadUnits(const std::uint8_t*& data, const std::uint8_t* end, bool toSeparator) {
  std::u16string units;
  while (data < end) {
    std::uint8_t byte = *data++;
    if (toSeparator && byte == 0xFF)
      break;
    if (byte == 0xFE && end - data >= 2) {
      units += static_cast<char16_t>(data[0] | (data[1] << 8));
      data += 2;
    } else {
      units += static_cast<char16_t>(byte);
    }
  }
  return units;
}

RunParameters& Parameters() {
  static RunParameters* parameters = new RunParameters();
  return *parameters;
}

// The match of a search, or all -1 when none; with the error code.
struct Outcome {
  bool found = false;
  platform::ErrorCode error = 0;
  std::ptrdiff_t start = -1, end = -1;
  std::u16string groups;  // offsets, -1 as 0xFFFF
};

Outcome Search(const RegexProgram& program, const std::u16string& text,
               const RegexMatchLimits& limits) {
  RegexMatch match;
  Outcome out;
  const char16_t* begin = text.c_str();
  size_t textEnd = text.find(u'\0');
  if (textEnd == std::u16string::npos)
    textEnd = text.size();
  out.found = MatchRegex(program, begin, begin + text.size(), match, limits);
  out.error = match.error();
  if (!out.found) {
    FUZZ_CHECK(out.error == 0 || out.error == platform::kErrorOutOfMemory ||
               out.error == platform::kErrorCancelled);
    return out;
  }
  FUZZ_CHECK(out.error == 0);
  out.start = match.start() - begin;
  out.end = match.end() - begin;
  FUZZ_CHECK(0 <= out.start && out.start <= out.end && out.end <= static_cast<ptrdiff_t>(textEnd));
  for (size_t g = 0; g < match.groupCount(); ++g) {
    RegexGroupSpan span = match.group(g);
    if (!span.start) {
      out.groups += u"\xFFFF\xFFFF";
      continue;
    }
    // A group that took part lies inside the match.
    FUZZ_CHECK(span.start >= match.start() && span.end <= match.end());
    out.groups += static_cast<char16_t>(span.start - begin);
    out.groups += static_cast<char16_t>(span.end - begin);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < 1)
    return 0;
  const std::uint8_t* end = data + size;
  const std::uint8_t flags = *data++;
  const bool caseSensitive = flags & 1;
  const int action = ((flags >> 1) & 7) % 7;
  static const char16_t* const kReplacements[] = {u"", u"X", u"ab", u"\r\n"};
  const std::u16string pattern = ReadUnits(data, end, true);
  const std::u16string text = ReadUnits(data, end, false);

  RegexProgram program;
  const int error = CompileRegex(caseSensitive, program, pattern);
  FUZZ_CHECK(error >= 0 && error <= 10);
  FUZZ_CHECK(error == program.lastError);
  if (error)
    return 0;

  static platform::StopEvent* stop = [] {
    auto* event = new platform::StopEvent();
    event->Set();
    return event;
  }();
  RegexMatchLimits limits;
  limits.stop = stop;
  limits.stepsBetweenStopChecks = std::uint64_t{1} << 20;
  limits.maxStackEntries = size_t{1} << 16;

  // The start filter only skips attempts that would fail at once.
  const Outcome filtered = Search(program, text, limits);
  RegexProgram plain = program;
  plain.hasStartFilter = false;
  const Outcome unfiltered = Search(plain, text, limits);
  if (filtered.error == 0 && unfiltered.error == 0) {
    FUZZ_CHECK(filtered.found == unfiltered.found);
    FUZZ_CHECK(filtered.start == unfiltered.start && filtered.end == unfiltered.end);
    FUZZ_CHECK(filtered.groups == unfiltered.groups);
  }

  // Loops over one unit backtracked from a counter find what the general loop finds.
  RegexProgram stepwise;
  FUZZ_CHECK(CompileRegex(caseSensitive, stepwise, pattern, RegexLoopForm::Stepwise) == 0);
  const Outcome general = Search(stepwise, text, limits);
  if (filtered.error == 0 && general.error == 0) {
    FUZZ_CHECK(filtered.found == general.found);
    FUZZ_CHECK(filtered.start == general.start && filtered.end == general.end);
    FUZZ_CHECK(filtered.groups == general.groups);
  }

  // Without case sensitivity the search is that of the folded pattern in the folded text.
  if (!caseSensitive) {
    auto fold = [](std::u16string units) {
      for (char16_t& c : units)
        c = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
      return units;
    };
    RegexProgram folded;
    FUZZ_CHECK(CompileRegex(true, folded, fold(pattern)) == 0);
    const Outcome direct = Search(folded, fold(text), limits);
    if (filtered.error == 0 && direct.error == 0) {
      FUZZ_CHECK(filtered.found == direct.found);
      FUZZ_CHECK(filtered.start == direct.start && filtered.end == direct.end);
      FUZZ_CHECK(filtered.groups == direct.groups);
    }
  }

  // The driver ends, and records at most one match per unit of the text plus one; both loop
  // forms make the same changes.
  std::u16string changed[2];
  std::vector<CFileResult::replace_info> recorded[2];
  platform::ErrorCode driverErrors[2] = {};
  for (int form = 0; form < 2; ++form) {
    AlternatingAnswers window;
    RunParameters& parameters = Parameters();
    parameters.action = static_cast<ActionType>(action);
    parameters.regex = form == 0 ? &program : &stepwise;
    parameters.replaceText = kReplacements[(flags >> 4) & 3];
    parameters.targetWindow = &window;
    parameters.confirmState = (flags & 0x40) ? ConfirmAnswer::Ask : ConfirmAnswer::YesToAll;
    TextBuffer buffer;
    FUZZ_CHECK(TextBuffer::FromText(text, buffer));
    CFileResult file;
    const platform::ErrorCode driverError = ApplyRegexToText(parameters, file, buffer, limits);
    FUZZ_CHECK(driverError == 0 || driverError == platform::kErrorOutOfMemory ||
               driverError == platform::kErrorCancelled);
    FUZZ_CHECK(file.matches.size() <= text.size() + 1);
    FUZZ_CHECK(buffer.data()[buffer.length()] == 0);
    changed[form].assign(buffer.view());
    recorded[form] = file.matches;
    driverErrors[form] = driverError;
  }
  if (driverErrors[0] == 0 && driverErrors[1] == 0) {
    FUZZ_CHECK(changed[0] == changed[1]);
    FUZZ_CHECK(recorded[0].size() == recorded[1].size());
    for (size_t i = 0; i < recorded[0].size(); ++i)
      FUZZ_CHECK(recorded[0][i].line == recorded[1][i].line &&
                 recorded[0][i].character == recorded[1][i].character);
  }
  return 0;
}
