// The questions the console front end asks at the terminal.
#pragma once

#include "cli/console.h"
#include "run/record/file_result.h"
#include "run/prompt.h"
#include "run/record/run_types.h"

// The run's message boxes: an error is printed as "Error: …"; a warning question proceeds with
// --yes, is asked (y/n) at a terminal, and is otherwise printed as "Warning: …" and declined.
class TerminalPrompt : public Prompt {
 public:
  TerminalPrompt(Console& console, bool yes) : console_(console), yes_(yes) {}

  PromptAnswer Show(const std::u16string& text, const std::u16string& caption,
                    PromptButtons buttons) override;

  // Whether a question was declined, as opposed to an error refusing the run.
  bool declined() const { return declined_; }

 private:
  Console& console_;
  bool yes_;
  bool declined_ = false;
};

// Asks whether to change one match: y (Yes), n (No), a (Yes To All) or q (No To All). The end of
// the input or Ctrl+C answers No To All.
// `change`, when given, is shown after the position: the lines before and after.
ConfirmAnswer AskAtTerminal(Console& console, const std::u16string& fullPath,
                            const CFileResult::replace_info& position,
                            const ChangeLines* change = nullptr);

// "Error: " and the text, on standard error.
void WriteCliError(Console& console, const std::u16string& text);
