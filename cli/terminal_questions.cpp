#include "cli/terminal_questions.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

#include "cli/result_lines.h"
#include "platform/string_table.h"
#include "processing/change_lines.h"
#include "processing/confirmation_text.h"
#include "text/text_format.h"
#include "text/utf8.h"

namespace {

// The letter of an answer among `letters`: the letter alone or a word starting with it, in
// either case, blanks around ignored.
std::optional<char> AnswerLetter(std::string line, std::string_view letters) {
  auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
  line.erase(line.begin(), std::find_if_not(line.begin(), line.end(), blank));
  line.erase(std::find_if_not(line.rbegin(), line.rend(), blank).base(), line.end());
  if (line.empty())
    return std::nullopt;
  std::transform(line.begin(), line.end(), line.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  static constexpr std::string_view kWords[] = {"yes", "no", "all", "quit"};
  const bool word =
      line.size() == 1 || std::find(std::begin(kWords), std::end(kWords), line) != std::end(kWords);
  if (!word || letters.find(line[0]) == std::string_view::npos)
    return std::nullopt;
  return line[0];
}

// Asks until one of the letters is typed; nullopt at the end of the input or on Ctrl+C.
std::optional<char> Ask(Console& console, const std::u16string& question,
                        std::string_view letters) {
  console.Flush();
  const std::string prompt = Utf16ToUtf8(question);
  while (true) {
    console.Write(ConsoleStream::Err, prompt);
    std::string line;
    if (!console.ReadLine(line) || console.Interrupted())
      return std::nullopt;
    if (auto letter = AnswerLetter(line, letters))
      return letter;
  }
}

}  // namespace

PromptAnswer TerminalPrompt::Show(const std::u16string& text, const std::u16string&,
                                  PromptButtons buttons) {
  if (buttons == PromptButtons::Ok) {
    WriteCliError(console_, text);
    return PromptAnswer::Ok;
  }
  const std::u16string warning = FormatString(IDS_CLI_WARNING, {text});
  if (yes_) {
    console_.Write(ConsoleStream::Err, Utf16ToUtf8(warning) + "\n");
    return PromptAnswer::Ok;
  }
  if (console_.InputIsTerminal()) {
    if (Ask(console_, warning + u"\n" + platform::LoadText(IDS_CLI_PROCEED_QUESTION), "yn") == 'y')
      return PromptAnswer::Ok;
  } else {
    console_.Write(ConsoleStream::Err, Utf16ToUtf8(warning) + "\n");
  }
  declined_ = true;
  return PromptAnswer::Cancel;
}

ConfirmAnswer AskAtTerminal(Console& console, const std::u16string& fullPath,
                            const CFileResult::replace_info& position, const ChangeLines* change) {
  std::u16string question = ConfirmationText(fullPath, position) + u"\n";
  if (change)
    question += ChangeLinesText(*change) + u"\n";
  question += platform::LoadText(IDS_CLI_CONFIRM_QUESTION);
  switch (Ask(console, question, "ynaq").value_or('q')) {
    case 'y':
      return ConfirmAnswer::Yes;
    case 'n':
      return ConfirmAnswer::No;
    case 'a':
      return ConfirmAnswer::YesToAll;
    default:
      return ConfirmAnswer::NoToAll;
  }
}

void WriteCliError(Console& console, const std::u16string& text) {
  const std::u16string line(WithoutTrailingBreaks(text));
  console.Write(ConsoleStream::Err, Utf16ToUtf8(FormatString(IDS_CLI_ERROR, {line})) + "\n");
}
